#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace quorvel {

/// Every exit status quorvel-cli returns. The commands return these names; --help, the manual
/// page and the README list kExitStatuses (a test holds them to it).
inline constexpr int kExitOk = 0;
/// A command other than print and check could not do its work: the printer list could not be
/// read, a file could not be read or written, the port could not be opened.
inline constexpr int kExitFailed = 1;
inline constexpr int kExitListFailed = kExitFailed;
inline constexpr int kExitUnreadableFile = kExitFailed;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotRecognized = 3;
inline constexpr int kExitSendFailed = 4;
inline constexpr int kExitNotPrinted = 5;    // aborted, canceled, held, printer stopped; not ready
inline constexpr int kExitNotConfirmed = 6;  // no verdict within the wait, or Ctrl-C
/// verify: a printed sheet with a block that differs from the expected sheet.
inline constexpr int kExitSheetDiffers = 7;
/// render, listen --render, verify: the drawing or scan module is not installed or not usable.
inline constexpr int kExitNoModule = 8;

struct ExitStatusRow {
  int status;
  const char* meaning;  // one line, as --help and the README's table give it
  /// The commands that can end with this status, each followed by a space; empty for every one.
  /// A command's --help lists its rows.
  const char* commands = "";
};

inline constexpr ExitStatusRow kExitStatuses[] = {
    {kExitOk, "done: executed, printed, ready, or the command did its work"},
    {kExitFailed, "the printer list, a file, the port or standard output could not be used",
     "printers dump explain render verify listen "},
    {kExitUsage,
     "usage error, or print auto has no page to send (none suits the printer, or the dot-matrix "
     "page with PJL)"},
    {kExitNotRecognized, "the printer name was not recognized", "print check "},
    {kExitSendFailed,
     "the test page could not be sent, the printer could not be asked, or Ctrl-C came first",
     "print check "},
    {kExitNotPrinted, "not printed (aborted, canceled, held, printer stopped), or not ready",
     "print check "},
    {kExitNotConfirmed, "not confirmed within the wait", "print "},
    {kExitSheetDiffers, "verify: a block of the printed sheet differs", "verify "},
    {kExitNoModule, "the drawing or scan module this command needs is missing",
     "render verify listen "},
};

inline constexpr std::size_t kExitStatusCount = std::size(kExitStatuses);

/// Whether `command` can end with `row`'s status.
constexpr bool EndsWith(const ExitStatusRow& row, std::string_view command) {
  std::string_view commands = row.commands;
  if (commands.empty()) {
    return true;
  }
  for (std::size_t space; (space = commands.find(' ')) != std::string_view::npos;
       commands.remove_prefix(space + 1)) {
    if (commands.substr(0, space) == command) {
      return true;
    }
  }
  return false;
}

}  // namespace quorvel
