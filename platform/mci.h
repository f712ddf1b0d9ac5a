// A stand-in for the system's media command strings, as far as the program uses them:
//   open "<path>" [type <device type>] alias <name>
//   play <name> [from <position>]
//   stop <name>
//   close <name> | close all
// Words compare without case; an alias names one open sound file (a TMediaClip).
#pragma once

#include <QByteArray>

namespace zabko {

namespace mci_result {
inline constexpr int kNoError = 0;
inline constexpr int kUnrecognizedCommand = 261;
inline constexpr int kHardware = 262;
inline constexpr int kInvalidDeviceName = 263;
inline constexpr int kFileNotFound = 275;
inline constexpr int kDuplicateAlias = 289;
inline constexpr int kMissingParameter = 273;
}  // namespace mci_result

// Runs one command; returns 0 or an error code.
int MciSendString(const QByteArray& command);
// Whether an alias names an open sound file.
bool MciIsOpen(const QByteArray& alias);

}  // namespace zabko
