// Starts Quorvel.exe, opens its About window and saves both windows, frame included, as 24-bit
// BMP files: window_shot QUORVEL_EXE FORM1_BMP ABOUT_BMP.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "gui/win32/form1.h"
#include "window_driver.h"

namespace {

using quorvel::testing::RunningProgram;

bool SaveWindow(HWND window, const std::string& path) {
  ::SetForegroundWindow(window);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  quorvel::testing::Pause(700);
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), imageSize);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return out.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window_shot QUORVEL_EXE FORM1_BMP ABOUT_BMP\n");
    return 2;
  }
  RunningProgram quorvel(quorvel::testing::DosPath(argv[1]));
  HWND form1 = quorvel.WaitForWindow("Form1", 20000);
  if (form1 == nullptr || !SaveWindow(form1, quorvel::testing::DosPath(argv[2]))) {
    std::fprintf(stderr, "window_shot: Form1 did not show\n");
    return 1;
  }
  quorvel::testing::PostMenuCommand(form1, quorvel::win32::Form1::kAboutCommand);
  HWND about = quorvel.WaitForWindow("About MyApp", 10000);
  if (about == nullptr || !SaveWindow(about, quorvel::testing::DosPath(argv[3]))) {
    std::fprintf(stderr, "window_shot: the About window did not show\n");
    return 1;
  }
  quorvel::testing::PostMenuCommand(form1, quorvel::win32::Form1::kExitCommand);
  return quorvel.WaitForExit(10000) ? 0 : 1;
}
