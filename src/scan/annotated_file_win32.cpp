// The annotated scan drawn with GDI into a DIB section and written as PNG through the imaging
// component (Windows): the marks themselves are worked out on the grey picture's geometry alone
// (annotate.cpp), as on Linux.

#include "common/utf8_path.h"
#include "platform/win32/win32_api.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <type_traits>

#include "platform/win32/wic_png.h"
#include "scan/annotate.h"
#include "scan/annotated_file.h"
#include "scan/picture_pages.h"

namespace quorvel::scan {
namespace {

struct GdiObjectDelete {
  void operator()(void* object) const { ::DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDelete>;
struct DcDelete {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete>;

// A top-down 32-bit DIB section of `width` by `height` selected into its own memory DC.
struct Canvas {
  MemoryDc dc;
  GdiObject bitmap;
  std::uint8_t* bits = nullptr;
  int width = 0, height = 0;
};

bool MakeCanvas(int width, int height, Canvas& canvas) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  canvas.dc.reset(::CreateCompatibleDC(nullptr));
  void* bits = nullptr;
  canvas.bitmap.reset(
      ::CreateDIBSection(canvas.dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!canvas.dc || !canvas.bitmap || bits == nullptr) {
    return false;
  }
  ::SelectObject(canvas.dc.get(), canvas.bitmap.get());
  canvas.bits = static_cast<std::uint8_t*>(bits);
  canvas.width = width;
  canvas.height = height;
  return true;
}

std::wstring Wide(const std::string& text) {
  const int length =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
  return wide;
}

void Draw(HDC dc, const Mark& mark) {
  std::vector<POINT> outline;
  for (const verify::Point& p : mark.outline) {
    outline.push_back({std::lround(p.x), std::lround(p.y)});
  }
  const COLORREF colour = RGB(mark.red, mark.green, mark.blue);
  const GdiObject pen(::CreatePen(PS_SOLID, static_cast<int>(std::lround(mark.penWidth)), colour));
  ::SelectObject(dc, pen.get());
  ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Polygon(dc, outline.data(), static_cast<int>(outline.size()));
  // GDI turns text anticlockwise in tenths of a degree; the mark's angle is clockwise.
  const int tenths = static_cast<int>(std::lround(-mark.textDegrees * 10));
  const GdiObject font(::CreateFontW(-mark.textPixels, 0, tenths, tenths,
                                     mark.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                                     ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial"));
  ::SelectObject(dc, font.get());
  ::SetTextColor(dc, colour);
  const std::wstring text = Wide(mark.text);
  ::TextOutW(dc, static_cast<int>(std::lround(mark.textAt.x)),
             static_cast<int>(std::lround(mark.textAt.y)), text.c_str(),
             static_cast<int>(text.size()));
  ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
}

// GDI leaves the alpha byte of what it draws at 0: the PNG is opaque all over.
void MakeOpaque(Canvas& canvas) {
  ::GdiFlush();
  const std::size_t dots = static_cast<std::size_t>(canvas.width) * canvas.height;
  for (std::size_t i = 0; i < dots; ++i) {
    canvas.bits[i * 4 + 3] = 255;
  }
}

// The canvas made smaller to `longestSide` dots on its longer side, averaged as it shrinks.
bool Shrunk(Canvas& canvas, int longestSide, double& dpi) {
  const double scale = static_cast<double>(longestSide) / std::max(canvas.width, canvas.height);
  Canvas small;
  if (!MakeCanvas(std::max(1, static_cast<int>(canvas.width * scale)),
                  std::max(1, static_cast<int>(canvas.height * scale)), small)) {
    return false;
  }
  ::SetStretchBltMode(small.dc.get(), HALFTONE);
  ::SetBrushOrgEx(small.dc.get(), 0, 0, nullptr);
  ::StretchBlt(small.dc.get(), 0, 0, small.width, small.height, canvas.dc.get(), 0, 0, canvas.width,
               canvas.height, SRCCOPY);
  canvas = std::move(small);
  dpi *= scale;
  return true;
}

}  // namespace

std::string WriteAnnotated(const std::string& path, const verify::PageFindings& page,
                           const std::vector<verify::Label>& labels, const std::string& output,
                           int longestSide) {
  GreyPicture grey;
  int index = 0;
  const std::string error = ReadPicturePages(path, [&](GreyPicture& taken) {
    if (index++ == page.page) {
      grey = std::move(taken);
    }
  });
  Canvas canvas;
  if (!error.empty() || grey.empty() || !MakeCanvas(grey.width(), grey.height(), canvas)) {
    return error.empty() ? "no memory for the annotated picture" : error;
  }
  for (std::size_t i = 0; i < grey.size(); ++i) {
    std::uint8_t* dot = canvas.bits + i * 4;
    dot[0] = dot[1] = dot[2] = grey.data()[i];
  }
  double dpi = grey.dpi;
  grey = GreyPicture();  // the grey is not kept beside its 32-bit copy
  const HDC dc = canvas.dc.get();
  ::SetGraphicsMode(dc, GM_ADVANCED);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  for (const Mark& mark : AnnotationMarks(page.placement, labels)) {
    Draw(dc, mark);
  }
  if (longestSide > 0 && std::max(canvas.width, canvas.height) > longestSide &&
      !Shrunk(canvas, longestSide, dpi)) {
    return "no memory for the annotated picture";
  }
  MakeOpaque(canvas);
  return win32::WritePng(PathFromUtf8(output), canvas.width, canvas.height,
                         canvas.width * 4, 4, canvas.bits, dpi);
}

}  // namespace quorvel::scan
