#pragma once

#include <functional>
#include <string>

#include "common/grey_picture.h"

// The reading of scan files into grey pictures: Qt's image readers and poppler for PDF. Nothing
// past this reads a file; the analysis sees only the grey pictures it hands on.
namespace quorvel::scan {

/// No scan page wider or taller than this is read: 1200 dpi over 16 inches.
inline constexpr int kMaxSidePixels = 20000;
/// Pages with more dots than this are read scaled down (about 600 dpi on an A4 sheet).
inline constexpr long long kMaxPagePixels = 40'000'000;
/// At most this many pages of a scan are read.
inline constexpr int kMaxScanPages = 100;

/// Why a picture of this size is not read.
std::string SizeRefused(long long width, long long height);

/// Hands each page of a PNG, JPEG, WebP, HEIC, TIFF, BMP or PDF file as grey to `take`, one at a
/// time, with the resolution its file states. Returns an empty string, or what keeps the file from
/// being read; each picture's size is checked before it is decoded.
using PageTaker = std::function<void(GreyPicture&)>;
std::string ReadPicturePages(const std::string& path, const PageTaker& take);

/// Makes sure a QGuiApplication exists (offscreen), for fonts and image plug-ins.
void EnsureApplication();

}  // namespace quorvel::scan
