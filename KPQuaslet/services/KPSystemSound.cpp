#include "KPQuaslet/services/KPSystemSound.h"

#include <algorithm>
#include <iterator>

#include "KPQuaslet/Helper/KPKitError.h"
#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/audiotoolbox/AudioServices.h"

namespace kp {
namespace {

using A = KPSystemSound::AudioID;

// Every case, in declaration order; their raw values ascend.
constexpr A kCases[] = {
    A::newMail, A::mailSent, A::voiceMail, A::recivedMessage, A::sentMessage, A::alarm, A::lowPower,
    A::smsReceived1, A::smsReceived2, A::smsReceived3, A::smsReceived4, A::smsReceived5, A::smsReceived6,
    A::tweetSent, A::anticipate, A::bloom, A::calypso, A::chooChoo, A::descent, A::fanfare, A::ladder, A::minuet,
    A::newsFlash, A::noir, A::sherwoodForest, A::spell, A::suspence, A::telegraph, A::tiptoes, A::typewriters,
    A::update, A::ussdAlert, A::simToolkitCallDropped, A::simToolkitGeneralBeep, A::simToolkitNegativeACK,
    A::simToolkitPositiveACK, A::simToolkitSMS, A::tink, A::ctBusy, A::ctCongestion, A::ctPathACK, A::ctError,
    A::ctCallWaiting, A::ctKeytone, A::lock, A::unlock, A::failedUnlock, A::keypressedTink, A::keypressedTock,
    A::tock, A::beepBeep, A::ringerCharged, A::photoShutter, A::shake, A::jblBegin, A::jblConfirm, A::jblCancel,
    A::beginRecording, A::endRecording, A::jblAmbiguous, A::jblNoMatch, A::beginVideoRecord, A::endVideoRecord,
    A::vcInvitationAccepted, A::vcRinging, A::vcEnded, A::vcCallWaiting, A::vcCallUpgrade, A::touchTone1,
    A::touchTone2, A::touchTone3, A::touchTone4, A::touchTone5, A::touchTone6, A::touchTone7, A::touchTone8,
    A::touchTone9, A::touchTone10, A::touchToneStar, A::touchTonePound, A::headsetStartCall, A::headsetRedial,
    A::headsetAnswerCall, A::headsetEndCall, A::headsetCallWaitingActions, A::headsetTransitionEnd, A::voicemail,
    A::receivedMessage, A::newMail2, A::mailSent2, A::alarm2, A::lock2, A::tock2, A::smsReceived1_2,
    A::smsReceived2_2, A::smsReceived3_2, A::smsReceived4_2, A::smsReceivedVibrate, A::smsReceived1_3,
    A::smsReceived5_3, A::smsReceived6_3, A::voicemail2, A::anticipate2, A::bloom2, A::calypso2, A::chooChoo2,
    A::descent2, A::fanfare2, A::ladder2, A::minuet2, A::newsFlash2, A::noir2, A::sherwoodForest2, A::spell2,
    A::suspence2, A::telegraph2, A::tiptoes2, A::typewriters2, A::update2, A::ringerVibeChanged,
    A::silentVibeChanged, A::vibrate,
};

}  // namespace

void KPSystemSound::playSystemSound(AudioID audioID) {
  ios::AudioServicesPlaySystemSound(static_cast<ios::SystemSoundID>(audioID));
}

void KPSystemSound::vibrate() { ios::AudioServicesPlaySystemSound(ios::kSystemSoundID_Vibrate); }

std::uint32_t KPSystemSound::playSound(const ios::URL& soundURL) {
  ios::SystemSoundID soundID = 0;
  if (ios::AudioServicesCreateSystemSoundID(soundURL, &soundID) != 0) throw KPKitError::errorLoadingSound;
  return soundID;
}

void KPSystemSound::disposeSound(std::uint32_t soundID) {
  if (ios::AudioServicesDisposeSystemSoundID(soundID) != 0) throw KPKitError::errorLoadingSound;
}

std::string ios_describe(KPSystemSound::AudioID audioID) {
  switch (audioID) {
    case A::newMail: return "newMail";
    case A::mailSent: return "mailSent";
    case A::voiceMail: return "voiceMail";
    case A::recivedMessage: return "recivedMessage";
    case A::sentMessage: return "sentMessage";
    case A::alarm: return "alarm";
    case A::lowPower: return "lowPower";
    case A::smsReceived1: return "smsReceived1";
    case A::smsReceived2: return "smsReceived2";
    case A::smsReceived3: return "smsReceived3";
    case A::smsReceived4: return "smsReceived4";
    case A::smsReceived5: return "smsReceived5";
    case A::smsReceived6: return "smsReceived6";
    case A::tweetSent: return "tweetSent";
    case A::anticipate: return "anticipate";
    case A::bloom: return "bloom";
    case A::calypso: return "calypso";
    case A::chooChoo: return "chooChoo";
    case A::descent: return "descent";
    case A::fanfare: return "fanfare";
    case A::ladder: return "ladder";
    case A::minuet: return "minuet";
    case A::newsFlash: return "newsFlash";
    case A::noir: return "noir";
    case A::sherwoodForest: return "sherwoodForest";
    case A::spell: return "spell";
    case A::suspence: return "suspence";
    case A::telegraph: return "telegraph";
    case A::tiptoes: return "tiptoes";
    case A::typewriters: return "typewriters";
    case A::update: return "update";
    case A::ussdAlert: return "ussdAlert";
    case A::simToolkitCallDropped: return "simToolkitCallDropped";
    case A::simToolkitGeneralBeep: return "simToolkitGeneralBeep";
    case A::simToolkitNegativeACK: return "simToolkitNegativeACK";
    case A::simToolkitPositiveACK: return "simToolkitPositiveACK";
    case A::simToolkitSMS: return "simToolkitSMS";
    case A::tink: return "tink";
    case A::ctBusy: return "ctBusy";
    case A::ctCongestion: return "ctCongestion";
    case A::ctPathACK: return "ctPathACK";
    case A::ctError: return "ctError";
    case A::ctCallWaiting: return "ctCallWaiting";
    case A::ctKeytone: return "ctKeytone";
    case A::lock: return "lock";
    case A::unlock: return "unlock";
    case A::failedUnlock: return "failedUnlock";
    case A::keypressedTink: return "keypressedTink";
    case A::keypressedTock: return "keypressedTock";
    case A::tock: return "tock";
    case A::beepBeep: return "beepBeep";
    case A::ringerCharged: return "ringerCharged";
    case A::photoShutter: return "photoShutter";
    case A::shake: return "shake";
    case A::jblBegin: return "jblBegin";
    case A::jblConfirm: return "jblConfirm";
    case A::jblCancel: return "jblCancel";
    case A::beginRecording: return "beginRecording";
    case A::endRecording: return "endRecording";
    case A::jblAmbiguous: return "jblAmbiguous";
    case A::jblNoMatch: return "jblNoMatch";
    case A::beginVideoRecord: return "beginVideoRecord";
    case A::endVideoRecord: return "endVideoRecord";
    case A::vcInvitationAccepted: return "vcInvitationAccepted";
    case A::vcRinging: return "vcRinging";
    case A::vcEnded: return "vcEnded";
    case A::vcCallWaiting: return "vcCallWaiting";
    case A::vcCallUpgrade: return "vcCallUpgrade";
    case A::touchTone1: return "touchTone1";
    case A::touchTone2: return "touchTone2";
    case A::touchTone3: return "touchTone3";
    case A::touchTone4: return "touchTone4";
    case A::touchTone5: return "touchTone5";
    case A::touchTone6: return "touchTone6";
    case A::touchTone7: return "touchTone7";
    case A::touchTone8: return "touchTone8";
    case A::touchTone9: return "touchTone9";
    case A::touchTone10: return "touchTone10";
    case A::touchToneStar: return "touchToneStar";
    case A::touchTonePound: return "touchTonePound";
    case A::headsetStartCall: return "headsetStartCall";
    case A::headsetRedial: return "headsetRedial";
    case A::headsetAnswerCall: return "headsetAnswerCall";
    case A::headsetEndCall: return "headsetEndCall";
    case A::headsetCallWaitingActions: return "headsetCallWaitingActions";
    case A::headsetTransitionEnd: return "headsetTransitionEnd";
    case A::voicemail: return "voicemail";
    case A::receivedMessage: return "receivedMessage";
    case A::newMail2: return "newMail2";
    case A::mailSent2: return "mailSent2";
    case A::alarm2: return "alarm2";
    case A::lock2: return "lock2";
    case A::tock2: return "tock2";
    case A::smsReceived1_2: return "smsReceived1_2";
    case A::smsReceived2_2: return "smsReceived2_2";
    case A::smsReceived3_2: return "smsReceived3_2";
    case A::smsReceived4_2: return "smsReceived4_2";
    case A::smsReceivedVibrate: return "smsReceivedVibrate";
    case A::smsReceived1_3: return "smsReceived1_3";
    case A::smsReceived5_3: return "smsReceived5_3";
    case A::smsReceived6_3: return "smsReceived6_3";
    case A::voicemail2: return "voicemail2";
    case A::anticipate2: return "anticipate2";
    case A::bloom2: return "bloom2";
    case A::calypso2: return "calypso2";
    case A::chooChoo2: return "chooChoo2";
    case A::descent2: return "descent2";
    case A::fanfare2: return "fanfare2";
    case A::ladder2: return "ladder2";
    case A::minuet2: return "minuet2";
    case A::newsFlash2: return "newsFlash2";
    case A::noir2: return "noir2";
    case A::sherwoodForest2: return "sherwoodForest2";
    case A::spell2: return "spell2";
    case A::suspence2: return "suspence2";
    case A::telegraph2: return "telegraph2";
    case A::tiptoes2: return "tiptoes2";
    case A::typewriters2: return "typewriters2";
    case A::update2: return "update2";
    case A::ringerVibeChanged: return "ringerVibeChanged";
    case A::silentVibeChanged: return "silentVibeChanged";
    case A::vibrate: return "vibrate";
  }
  notACase("KPSystemSound.AudioID", static_cast<std::int64_t>(audioID));
}

std::optional<KPSystemSound::AudioID> fromRawValue(std::type_identity<KPSystemSound::AudioID>, std::uint32_t raw) {
  const auto it = std::lower_bound(std::begin(kCases), std::end(kCases), raw,
                                   [](A audioID, std::uint32_t value) { return rawValue(audioID) < value; });
  if (it == std::end(kCases) || rawValue(*it) != raw) return std::nullopt;
  return *it;
}

std::span<const KPSystemSound::AudioID> allCases(std::type_identity<KPSystemSound::AudioID>) { return kCases; }

}  // namespace kp
