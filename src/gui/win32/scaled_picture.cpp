#include "gui/win32/scaled_picture.h"

namespace quorvel::win32 {
namespace {

struct ScreenDcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type dc) { return dc != nullptr; }
  static void Close(Type dc) { ::ReleaseDC(nullptr, dc); }
};

struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type dc) { return dc != nullptr; }
  static void Close(Type dc) { ::DeleteDC(dc); }
};

// `designed` stretched to width x height; an empty owner when GDI cannot.
UniqueGdiObject Stretched(HGDIOBJ designed, const BITMAP& size, int width, int height) {
  const UniqueHandle<ScreenDcTraits> screen(::GetDC(nullptr));
  const UniqueHandle<MemoryDcTraits> from(::CreateCompatibleDC(screen.Get()));
  const UniqueHandle<MemoryDcTraits> to(::CreateCompatibleDC(screen.Get()));
  if (!screen || !from || !to) {
    return {};
  }
  UniqueGdiObject scaled(::CreateCompatibleBitmap(screen.Get(), width, height));
  if (!scaled) {
    return {};
  }
  const HGDIOBJ oldFrom = ::SelectObject(from.Get(), designed);
  const HGDIOBJ oldTo = ::SelectObject(to.Get(), scaled.Get());
  ::SetStretchBltMode(to.Get(), HALFTONE);
  ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
  const BOOL drawn = ::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, size.bmWidth,
                                  size.bmHeight, SRCCOPY);
  ::SelectObject(from.Get(), oldFrom);
  ::SelectObject(to.Get(), oldTo);
  return drawn ? std::move(scaled) : UniqueGdiObject{};
}

}  // namespace

UniqueGdiObject LoadPictureAtDpi(int id, int dpi) {
  UniqueGdiObject designed(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                        IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  BITMAP size{};
  if (!designed || dpi == 96 || ::GetObjectA(designed.Get(), sizeof size, &size) == 0) {
    return designed;
  }
  UniqueGdiObject scaled = Stretched(designed.Get(), size, ::MulDiv(size.bmWidth, dpi, 96),
                                     ::MulDiv(size.bmHeight, dpi, 96));
  return scaled ? std::move(scaled) : std::move(designed);
}

}  // namespace quorvel::win32
