// The Windows console's side of the command line: the arguments as the user typed them (UTF-16,
// whatever the ANSI code page) and Ctrl-C, which the console reports as an event, not a signal.

#include <csignal>

#include "platform/command_line/command_line.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"

#include <shellapi.h>  // CommandLineToArgvW

namespace quorvel::platform {
namespace {

// CommandLineToArgvW's array, freed with LocalFree.
struct LocalArrayTraits {
  using Type = LPWSTR*;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type array) { return array != nullptr; }
  static void Close(Type array) { ::LocalFree(array); }
};

std::string Utf8FromWide(const wchar_t* wide) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return {};
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the terminating null
  return text;
}

// Runs on a thread of its own that the system starts for the event. Ctrl-C and Ctrl-Break reach
// the SIGINT handler the command line has installed for a wait, as on POSIX; with none
// installed, the event goes on to the system's own handler, which ends the program.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
    return FALSE;
  }
  void (*const handler)(int) = std::signal(SIGINT, SIG_DFL);
  if (handler == SIG_DFL || handler == SIG_IGN || handler == SIG_ERR) {
    std::signal(SIGINT, handler == SIG_ERR ? SIG_DFL : handler);
    return handler == SIG_IGN ? TRUE : FALSE;
  }
  std::signal(SIGINT, handler);  // kept for a second Ctrl-C, as POSIX keeps it
  handler(SIGINT);
  return TRUE;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  const win32::UniqueHandle<LocalArrayTraits> wide(
      ::CommandLineToArgvW(::GetCommandLineW(), &count));
  if (!wide) {
    return {argv, argv + argc};
  }
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    arguments.push_back(Utf8FromWide(wide.Get()[i]));
  }
  return arguments;
}

void ForwardConsoleInterrupts() {
  ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

}  // namespace quorvel::platform
