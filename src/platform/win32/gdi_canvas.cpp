#include "platform/win32/gdi_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/win32_error.h"

namespace quorvel::win32 {
namespace {

// 12 point type is 10 characters per inch in Courier's 0.6 em pitch; remarks are 6 point.
constexpr double kTextPoints = 12;
constexpr double kRemarkPoints = 6;

int Dot(double position) {
  return static_cast<int>(std::lround(position));
}

// A rectangle as the dots whose centres it covers, at least one dot wide and high.
RECT Dots(double left, double top, double width, double height) {
  RECT rect{Dot(left), Dot(top), Dot(left + width), Dot(top + height)};
  rect.right = std::max(rect.right, rect.left + 1);
  rect.bottom = std::max(rect.bottom, rect.top + 1);
  return rect;
}

std::wstring FromLatin1(const std::string& latin1) {
  std::wstring wide;
  for (const char c : latin1) {
    wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  return wide;
}

std::wstring FromUtf8(const std::string& utf8) {
  const int length =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
  return wide;
}

// An 8-bit page whose colour table is the grey ramp: dot value v is grey v, 0 black, 255 white.
struct GreyBitmapInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

}  // namespace

GdiCanvas::GdiCanvas(int width, int height, double dpi, const sheet::Geometry& geometry)
    : Canvas(dpi, geometry), width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
  if (!dc_) {
    failure_ = "cannot draw the page: " + SystemMessage(::GetLastError());
    return;
  }
  GreyBitmapInfo info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top row first
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 256;
  for (int v = 0; v < 256; ++v) {
    const auto grey = static_cast<BYTE>(v);
    info.colours[v] = RGBQUAD{grey, grey, grey, 0};
  }
  void* bits = nullptr;
  bitmap_.Reset(::CreateDIBSection(dc_.Get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) {
    failure_ = "no memory for a page of " + std::to_string(width) + " x " + std::to_string(height) +
               " dots: " + SystemMessage(::GetLastError());
    return;
  }
  bits_ = static_cast<unsigned char*>(bits);
  std::memset(bits_, 255, static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(height));
  originalBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  ::SetBkMode(dc_.Get(), TRANSPARENT);
  ::SetTextColor(dc_.Get(), RGB(0, 0, 0));
}

GdiCanvas::~GdiCanvas() {
  if (originalFont_ != nullptr) {
    ::SelectObject(dc_.Get(), originalFont_);
  }
  if (originalBitmap_ != nullptr) {
    ::SelectObject(dc_.Get(), originalBitmap_);
  }
}

const unsigned char* GdiCanvas::Rows() const {
  ::GdiFlush();
  return bits_;
}

void GdiCanvas::Fill(double left, double top, double width, double height) {
  const RECT rect = Dots(left, top, width, height);
  ::FillRect(dc_.Get(), &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void GdiCanvas::Frame(double left, double top, double width, double height) {
  const RECT rect = Dots(left, top, width, height);
  ::FrameRect(dc_.Get(), &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void GdiCanvas::UseFont(bool fixed, double pixels, bool italic) {
  UniqueGdiObject font(::CreateFontW(
      -std::max(1, Dot(pixels)), 0, 0, 0, FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE,
      ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
      fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS,
      fixed ? L"Courier New" : L"Arial"));
  if (!font) {
    return;  // the font selected before draws instead
  }
  const HGDIOBJ previous = ::SelectObject(dc_.Get(), font.Get());
  if (originalFont_ == nullptr) {
    originalFont_ = previous;
  }
  font_ = std::move(font);
}

void GdiCanvas::CellText(const std::string& latin1, sheet::Typeface face, double left,
                         double baseline) {
  const bool fixed = face == sheet::Typeface::kFixed;
  UseFont(fixed, kTextPoints * Dpi() / 72, false);
  ::SetTextAlign(dc_.Get(), TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  const std::wstring text = FromLatin1(latin1);
  // Each character starts at its cell: the advances are the cells' edges rounded to dots, so
  // rounding does not add up along a run.
  std::vector<INT> advances(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    advances[i] = Dot(left + (i + 1) * Cell()) - Dot(left + i * Cell());
  }
  if (fixed) {
    ::ExtTextOutW(dc_.Get(), Dot(left), Dot(baseline), 0, nullptr, text.data(),
                  static_cast<UINT>(text.size()), advances.data());
    return;
  }
  // A proportional face still prints in the pitch's cells: each character centred in its own.
  for (std::size_t i = 0; i < text.size(); ++i) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc_.Get(), &text[i], 1, &size);
    const double offset = (Cell() - size.cx) / 2;
    ::TextOutW(dc_.Get(), Dot(left + i * Cell() + offset), Dot(baseline), &text[i], 1);
  }
}

void GdiCanvas::Line(const std::string& utf8, double centre, double /*width*/, double baseline,
                     double height) {
  UseFont(false, height, false);
  ::SetTextAlign(dc_.Get(), TA_TOP | TA_CENTER | TA_NOUPDATECP);
  const std::wstring text = FromUtf8(utf8);
  ::TextOutW(dc_.Get(), Dot(centre), Dot(baseline - height), text.data(),
             static_cast<int>(text.size()));
}

void GdiCanvas::Remark(const std::string& utf8, double left, double baseline) {
  UseFont(false, kRemarkPoints * Dpi() / 72, true);
  ::SetTextAlign(dc_.Get(), TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  const std::wstring text = FromUtf8(utf8);
  ::TextOutW(dc_.Get(), Dot(left), Dot(baseline), text.data(), static_cast<int>(text.size()));
}

}  // namespace quorvel::win32
