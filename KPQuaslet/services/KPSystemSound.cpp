#include "KPQuaslet/services/KPSystemSound.h"

#include <algorithm>
#include <iterator>

#include "KPQuaslet/Helper/KPKitError.h"
#include "platform/audiotoolbox/AudioServices.h"

namespace kp {
namespace {

// Every case's raw value, ascending.
constexpr std::uint32_t kRawValues[] = {
    1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1013,
    1014, 1016, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1029,
    1030, 1031, 1032, 1033, 1034, 1035, 1036, 1050, 1051, 1052, 1053, 1054,
    1055, 1057, 1070, 1071, 1072, 1073, 1074, 1075, 1100, 1101, 1102, 1103,
    1104, 1105, 1106, 1107, 1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115,
    1116, 1117, 1118, 1150, 1151, 1152, 1153, 1154, 1200, 1201, 1202, 1203,
    1204, 1205, 1206, 1207, 1208, 1209, 1210, 1211, 1254, 1255, 1256, 1257,
    1258, 1259, 1300, 1301, 1302, 1303, 1304, 1305, 1306, 1307, 1308, 1309,
    1310, 1311, 1312, 1313, 1314, 1315, 1320, 1321, 1322, 1323, 1324, 1325,
    1326, 1327, 1328, 1329, 1330, 1331, 1332, 1333, 1334, 1335, 1336, 1350,
    1351, 4095,
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
  using A = KPSystemSound::AudioID;
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
  return std::to_string(static_cast<std::uint32_t>(audioID));
}

std::optional<KPSystemSound::AudioID> fromRawValue(std::type_identity<KPSystemSound::AudioID>, std::uint32_t raw) {
  if (!std::binary_search(std::begin(kRawValues), std::end(kRawValues), raw)) return std::nullopt;
  return static_cast<KPSystemSound::AudioID>(raw);
}

}  // namespace kp
