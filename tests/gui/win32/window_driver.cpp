#include "window_driver.h"

#include <cstdlib>

namespace quorvel::testing {
namespace {

constexpr DWORD kPollMilliseconds = 50;

struct Search {
  DWORD processId;
  const std::string* caption;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && ::IsWindowVisible(window) &&
      (search.caption == nullptr || WindowText(window) == *search.caption) &&
      (search.className == nullptr || ClassName(window) == search.className)) {
    search.found.push_back(window);
  }
  return TRUE;
}

template <typename Probe>
auto Poll(DWORD milliseconds, Probe probe) -> decltype(probe()) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (;;) {
    if (auto result = probe()) {
      return result;
    }
    if (::GetTickCount64() >= end) {
      return {};
    }
    ::Sleep(kPollMilliseconds);
  }
}

}  // namespace

std::string DosPath(const std::string& path) {
  if (path.empty() || path[0] != '/') {
    return path;
  }
  std::string dos = "Z:" + path;
  for (char& c : dos) {
    c = c == '/' ? '\\' : c;
  }
  return dos;
}

std::string ProgramFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? DosPath(value) : std::string();
}

RunningProgram::RunningProgram(const std::string& program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
    process_.Reset(info.hProcess);
    win32::UniqueKernelHandle thread(info.hThread);
    id_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    ::WaitForInputIdle(info.hProcess, 15000);
  }
}

// A program a test left running is asked to close, then ended: it is this test's own child.
RunningProgram::~RunningProgram() {
  if (!process_ || WaitForExit(0)) {
    return;
  }
  for (HWND window : TopWindows("")) {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
  }
  for (HWND window : TopWindows("Form1")) {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (!WaitForExit(5000)) {
    ::TerminateProcess(process_.Get(), 1);
    WaitForExit(5000);
  }
}

bool RunningProgram::WaitForExit(DWORD milliseconds) {
  return process_ && ::WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
}

std::vector<HWND> RunningProgram::TopWindows(const std::string& caption,
                                             const char* className) const {
  Search search{id_, &caption, className, {}};
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND RunningProgram::WaitForWindow(const std::string& caption, DWORD milliseconds,
                                   const char* className) const {
  return Poll(milliseconds, [&]() -> HWND {
    std::vector<HWND> windows = TopWindows(caption, className);
    return windows.empty() ? nullptr : windows.front();
  });
}

std::optional<MessageBoxSeen> RunningProgram::WaitForMessageBox(DWORD milliseconds) const {
  return Poll(milliseconds, [&]() -> std::optional<MessageBoxSeen> {
    Search search{id_, nullptr, "#32770", {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found.empty()) {
      return std::nullopt;
    }
    HWND box = search.found.front();
    return MessageBoxSeen{box, WindowText(box), WindowText(::GetDlgItem(box, 0xFFFF))};
  });
}

HWND RunningProgram::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

std::string WindowText(HWND window) {
  char text[2048] = {};
  const LRESULT length =
      ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, static_cast<std::size_t>(length));
}

std::string ClassName(HWND window) {
  char name[256] = {};
  const int length = ::GetClassNameA(window, name, sizeof name);
  return std::string(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT ChildRect(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND ChildByText(HWND parent, const char* className, const std::string& text) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) == className && WindowText(child) == text) {
      return child;
    }
  }
  return nullptr;
}

bool CloseMessageBox(HWND box) {
  ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  return Poll(10000, [&] { return !::IsWindow(box); });
}

void PostKey(HWND target, UINT virtualKey) {
  const UINT scan = ::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  ::PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void PostAltKey(HWND target, char letter) {
  // Bit 29: the Alt key is down.
  ::PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(letter), 1 | (1 << 29));
}

bool PostMenuCommand(HWND window, int commandId) {
  return ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0) != 0;
}

void Pause(DWORD milliseconds) {
  ::Sleep(milliseconds);
}

bool WaitUntilGone(HWND window, DWORD milliseconds) {
  return Poll(milliseconds, [&] { return !::IsWindow(window); });
}

}  // namespace quorvel::testing
