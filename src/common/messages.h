#pragma once

#include <string>
#include <string_view>

namespace quorvel {

/// The program's title: every message box carries it.
inline constexpr std::string_view kAppTitle = "Quorvel";

inline constexpr std::string_view kExecuted = "Executed";
inline constexpr std::string_view kNotRecognized = "The Printer Name you typed wasn't recognized.";
inline constexpr std::string_view kSendFailed = "The test page could not be sent to the printer.";
inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

/// Shows a message to the user: a modal box with OK only and no icon, titled kAppTitle, on the
/// desktop; a line on a stream on the command line. Returns when the user has seen it.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void Show(std::string_view text) = 0;
};

}  // namespace quorvel
