// Texts and rules of the console's load step, splash screen, About box and help menu.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora {

inline constexpr std::string_view kConsoleCaption = "I2C/SMBus/PMBus Interface";

inline constexpr std::string_view kBoardNotFound =
    "Cannot find a QX7310 hardware (Check connections (JP4 must be on 'Direct'), unplug and "
    "plug USB cable). Or Driver is not installed. Check Device Manager and see if there is "
    "exclamation mark in the Driver (on ZOQ OnBoard RS232 Cntlr or USB Serial Converter). "
    "Software use disabled.";

inline constexpr std::string_view kInitializationError =
    "Initialization Error. Please exit all instances of the software. Unplug and plug again "
    "all QX7310 hardware (if more than one) and then launch each instance of the software. "
    "Launch all instances of the software first before using. Check JP4 is on 'Direct'";

inline constexpr std::string_view kProgramVersion = "Version 1.02";
inline constexpr std::string_view kAboutTitle = "QX7310B Unreleased";

// Seconds the splash screen waits; a key or click on it ends the wait at once.
inline constexpr int kSplashSeconds = 5;

// What the firmware version read at start-up decides.
enum class FirmwareAction { None, DisableMonitor, InitializationError };
// The version text taken as a number (its leading digits; none reads as 0).
FirmwareAction firmware_action(std::string_view version_text);

// Help file beside the program and its topics.
inline constexpr std::string_view kHelpFile = "QX7310help.chm";
inline constexpr int kTopicPmbusTable = 107;
inline constexpr int kTopicSbsTable = 108;
inline constexpr int kTopicAsciiTable = 109;
inline constexpr int kTopicHelpTopics = 113;
inline constexpr int kTopicSafetySignal = 114;

// Colours as 0x00BBGGRR values; 0x8000000F stands for the system's button face. The
// Repeat All state is the colour of the `Repeatall` button.
inline constexpr uint32_t kButtonFace = 0x8000000F;
inline constexpr uint32_t kRepeatRunning = 0x0080FF80;
// Boxes that show a read result are pale cyan and locked.
inline constexpr uint32_t kReadBoxColour = 0x00FFFFC0;

}  // namespace velmora
