// The smallest Win32 window program of our own that does what Form1 must do before it shows: the
// yardstick for Quorvel.exe's start-up. It asks the spooler for the installed printers and the
// user's default as Quorvel's printer list does, fills a drop-down combo box with them, selects
// the default and only then shows its window.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <winspool.h>

#include <string>
#include <vector>

namespace {

// The installed printers' names, asked as Quorvel's printer list asks (local and connected
// printers, level 4, the buffer grown when the list grows between the two calls).
std::vector<std::string> InstalledPrinters() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD returned = 0;
  std::vector<BYTE> buffer;
  for (int attempt = 0; attempt < 4; ++attempt) {
    buffer.resize(needed);
    if (::EnumPrintersA(flags, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                        static_cast<DWORD>(buffer.size()), &needed, &returned)) {
      std::vector<std::string> names;
      const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
      for (DWORD i = 0; i < returned; ++i) {
        names.emplace_back(info[i].pPrinterName != nullptr ? info[i].pPrinterName : "");
      }
      return names;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      break;
    }
  }
  return {};
}

std::string DefaultPrinter() {
  DWORD size = 0;
  if (::GetDefaultPrinterA(nullptr, &size) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return {};
  }
  std::string name(size, '\0');
  if (!::GetDefaultPrinterA(name.data(), &size)) {
    return {};
  }
  return name.substr(0, name.find('\0'));
}

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BaselineProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "QuorvelBaseline";
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  ::RegisterClassA(&windowClass);
  HWND window =
      ::CreateWindowExA(0, "QuorvelBaseline", "Baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 457, 350, nullptr, nullptr, instance, nullptr);
  HWND combo = ::CreateWindowExA(
      0, "COMBOBOX", "Combo1",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 88, 216,
      265, 184, window, nullptr, instance, nullptr);
  const std::string defaultName = DefaultPrinter();
  const std::vector<std::string> names = InstalledPrinters();
  for (const std::string& name : names) {
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!defaultName.empty() && names[i] == defaultName) {
      ::SendMessageA(combo, CB_SETCURSEL, i, 0);
      break;
    }
  }
  ::ShowWindow(window, SW_SHOWNORMAL);
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
