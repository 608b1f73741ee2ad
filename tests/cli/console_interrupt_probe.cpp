// Presses Ctrl-C for a program as the Windows console does: starts COMMAND on a console of its
// own, waits until READY_FILE exists (the program is waiting), sends the console's Ctrl-C event,
// and exits with the program's exit status (124 when it was still running 20 s later, 125 when
// it could not be started).
//   console_interrupt_probe READY_FILE COMMAND...

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// One argument, quoted as CommandLineToArgvW reads it back (no argument here ends in \ or holds
// a quote).
std::wstring Quoted(const wchar_t* argument) {
  return L"\"" + std::wstring(argument) + L"\"";
}

// A console of its own to share with the program (Wine gives a program started from a pipe none
// that takes events), keeping this process's standard handles, which a new console would take.
void OwnConsole() {
  const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  ::FreeConsole();
  ::AllocConsole();
  ::SetStdHandle(STD_INPUT_HANDLE, in);
  ::SetStdHandle(STD_OUTPUT_HANDLE, out);
  ::SetStdHandle(STD_ERROR_HANDLE, err);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: console_interrupt_probe READY_FILE COMMAND...\n");
    return 125;
  }
  OwnConsole();
  std::wstring command;
  for (int i = 2; i < argc; ++i) {
    command += (i > 2 ? L" " : L"") + Quoted(argv[i]);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "cannot start the program: error %lu\n", ::GetLastError());
    return 125;
  }
  ::CloseHandle(process.hThread);
  for (int i = 0; i < 600 && ::GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES; ++i) {
    ::Sleep(50);
  }
  // Ctrl-C goes to every process of the console, this one aside. (Wine 8 sends no Ctrl-Break,
  // neither to a process group nor to the whole console.)
  ::SetConsoleCtrlHandler(nullptr, TRUE);
  if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
    std::fprintf(stderr, "GenerateConsoleCtrlEvent: error %lu\n", ::GetLastError());
  }
  DWORD status = 124;
  if (::WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(process.hProcess, &status);
  } else {
    ::TerminateProcess(process.hProcess, 124);
  }
  ::CloseHandle(process.hProcess);
  return static_cast<int>(status);
}
