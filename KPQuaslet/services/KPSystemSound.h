// File: KPQuaslet/services/KPSystemSound.h
//
// The platform's built-in system sounds by name, vibration, and sound files registered
// as system sounds.
//
//   kp::KPSystemSound::playSystemSound(kp::KPSystemSound::AudioID::tink);
//   kp::KPSystemSound::vibrate();
//   auto id = kp::KPSystemSound::playSound(ios::URL::fileURLWithPath("/app/ding.caf"));  // may throw
//   kp::KPSystemSound::disposeSound(id);
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/foundation/URL.h"

namespace kp {

class KPSystemSound {
 public:
  // The platform's system sound identifiers (122 of them, with gaps between blocks).
  enum class AudioID : std::uint32_t {
    newMail = 1000,
    mailSent = 1001,
    voiceMail = 1002,
    recivedMessage = 1003,
    sentMessage = 1004,
    alarm = 1005,
    lowPower = 1006,
    smsReceived1 = 1007,
    smsReceived2 = 1008,
    smsReceived3 = 1009,
    smsReceived4 = 1010,
    smsReceived5 = 1013,
    smsReceived6 = 1014,
    tweetSent = 1016,
    anticipate = 1020,
    bloom = 1021,
    calypso = 1022,
    chooChoo = 1023,
    descent = 1024,
    fanfare = 1025,
    ladder = 1026,
    minuet = 1027,
    newsFlash = 1028,
    noir = 1029,
    sherwoodForest = 1030,
    spell = 1031,
    suspence = 1032,
    telegraph = 1033,
    tiptoes = 1034,
    typewriters = 1035,
    update = 1036,
    ussdAlert = 1050,
    simToolkitCallDropped = 1051,
    simToolkitGeneralBeep = 1052,
    simToolkitNegativeACK = 1053,
    simToolkitPositiveACK = 1054,
    simToolkitSMS = 1055,
    tink = 1057,
    ctBusy = 1070,
    ctCongestion = 1071,
    ctPathACK = 1072,
    ctError = 1073,
    ctCallWaiting = 1074,
    ctKeytone = 1075,
    lock = 1100,
    unlock = 1101,
    failedUnlock = 1102,
    keypressedTink = 1103,
    keypressedTock = 1104,
    tock = 1105,
    beepBeep = 1106,
    ringerCharged = 1107,
    photoShutter = 1108,
    shake = 1109,
    jblBegin = 1110,
    jblConfirm = 1111,
    jblCancel = 1112,
    beginRecording = 1113,
    endRecording = 1114,
    jblAmbiguous = 1115,
    jblNoMatch = 1116,
    beginVideoRecord = 1117,
    endVideoRecord = 1118,
    vcInvitationAccepted = 1150,
    vcRinging = 1151,
    vcEnded = 1152,
    vcCallWaiting = 1153,
    vcCallUpgrade = 1154,
    touchTone1 = 1200,
    touchTone2 = 1201,
    touchTone3 = 1202,
    touchTone4 = 1203,
    touchTone5 = 1204,
    touchTone6 = 1205,
    touchTone7 = 1206,
    touchTone8 = 1207,
    touchTone9 = 1208,
    touchTone10 = 1209,
    touchToneStar = 1210,
    touchTonePound = 1211,
    headsetStartCall = 1254,
    headsetRedial = 1255,
    headsetAnswerCall = 1256,
    headsetEndCall = 1257,
    headsetCallWaitingActions = 1258,
    headsetTransitionEnd = 1259,
    voicemail = 1300,
    receivedMessage = 1301,
    newMail2 = 1302,
    mailSent2 = 1303,
    alarm2 = 1304,
    lock2 = 1305,
    tock2 = 1306,
    smsReceived1_2 = 1307,
    smsReceived2_2 = 1308,
    smsReceived3_2 = 1309,
    smsReceived4_2 = 1310,
    smsReceivedVibrate = 1311,
    smsReceived1_3 = 1312,
    smsReceived5_3 = 1313,
    smsReceived6_3 = 1314,
    voicemail2 = 1315,
    anticipate2 = 1320,
    bloom2 = 1321,
    calypso2 = 1322,
    chooChoo2 = 1323,
    descent2 = 1324,
    fanfare2 = 1325,
    ladder2 = 1326,
    minuet2 = 1327,
    newsFlash2 = 1328,
    noir2 = 1329,
    sherwoodForest2 = 1330,
    spell2 = 1331,
    suspence2 = 1332,
    telegraph2 = 1333,
    tiptoes2 = 1334,
    typewriters2 = 1335,
    update2 = 1336,
    ringerVibeChanged = 1350,
    silentVibeChanged = 1351,
    vibrate = 4095,
  };

  // Plays the built-in sound; a sound the device lacks is silent.
  static void playSystemSound(AudioID audioID);
  // Makes the device vibrate.
  static void vibrate();
  // Registers the sound file as a system sound and returns its identifier, which the
  // caller releases with disposeSound(). Does not play it. Throws
  // KPKitError::errorLoadingSound when the file cannot be registered.
  [[nodiscard]] static std::uint32_t playSound(const ios::URL& soundURL);
  // Releases a registered sound. Throws KPKitError::errorLoadingSound when it is not one.
  static void disposeSound(std::uint32_t soundID);
};

// The case whose raw value is `raw`, or nothing for a value between the blocks.
[[nodiscard]] std::optional<KPSystemSound::AudioID> fromRawValue(std::type_identity<KPSystemSound::AudioID>,
                                                                 std::uint32_t raw);
// The case name ("tink").
[[nodiscard]] std::string ios_describe(KPSystemSound::AudioID audioID);
// The 122 cases, in declaration order (which is also raw-value order).
[[nodiscard]] std::span<const KPSystemSound::AudioID> allCases(std::type_identity<KPSystemSound::AudioID>);

}  // namespace kp
