#pragma once

#include <QImage>
#include <functional>
#include <string>

namespace quorvel::scan {

/// A page of a scan as 8-bit grey, with the resolution its file states (0: none). The rows of a
/// page read from a file follow one another with no padding (bytesPerLine() == width()).
struct PicturePage {
  QImage grey;
  double dpi = 0;
};

/// No scan page wider or taller than this is read: 1200 dpi over 16 inches.
inline constexpr int kMaxSidePixels = 20000;
/// Pages with more dots than this are read scaled down (about 600 dpi on an A4 sheet).
inline constexpr long long kMaxPagePixels = 40'000'000;
/// At most this many pages of a scan are read.
inline constexpr int kMaxScanPages = 100;

/// Hands each page of a PNG, JPEG, TIFF, BMP or PDF file as grey to `take`, one at a time.
/// Returns an empty string, or what keeps the file from being read; each picture's size is
/// checked before it is decoded.
using PageTaker = std::function<void(PicturePage&)>;
std::string ReadPicturePages(const std::string& path, const PageTaker& take);

/// Makes sure a QGuiApplication exists (offscreen), for fonts and image plug-ins.
void EnsureApplication();

}  // namespace quorvel::scan
