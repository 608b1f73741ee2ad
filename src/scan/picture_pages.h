#pragma once

#include <cmath>
#include <functional>
#include <string>

#include "common/grey_picture.h"

// The reading of scan files into grey pictures: Qt's image readers and poppler for PDF on Linux,
// the Windows Imaging Component on Windows. Nothing past this reads a file; the analysis sees
// only the grey pictures it hands on.
namespace quorvel::scan {

/// No scan page wider or taller than this is read: 1200 dpi over 16 inches.
inline constexpr int kMaxSidePixels = 20000;
/// Pages with more dots than this are read scaled down (about 600 dpi on an A4 sheet).
inline constexpr long long kMaxPagePixels = 40'000'000;
/// At most this many pages of a scan are read.
inline constexpr int kMaxScanPages = 100;

/// Colour pictures other than PNG are decoded at 32 bits a dot before they are turned to grey:
/// past this many dots (64 MB of it) they are read scaled down, so that a phone's photo stays
/// within the memory aim.
inline constexpr long long kMaxColourPixels = 16'000'000;

/// Why a picture of this size is not read.
inline std::string SizeRefused(long long width, long long height) {
  return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
         " dots; at most " + std::to_string(kMaxSidePixels) + " a side are read";
}

/// The scale a picture of `dots` dots is read at: a colour one halved (as JPEG's decoders do
/// while decoding) until it fits kMaxColourPixels, another shrunk to kMaxPagePixels; 1 when it
/// fits as it is.
inline double ReadScale(long long dots, bool colour) {
  double shrink = 1;
  if (colour) {
    while (static_cast<double>(dots) * shrink * shrink > static_cast<double>(kMaxColourPixels)) {
      shrink /= 2;
    }
  } else if (dots > kMaxPagePixels) {
    shrink = std::sqrt(static_cast<double>(kMaxPagePixels) / static_cast<double>(dots));
  }
  return shrink;
}

/// Hands each page of a PNG, JPEG, WebP, HEIC, TIFF, BMP or PDF file as grey to `take`, one at a
/// time, with the resolution its file states. Returns an empty string, or what keeps the file from
/// being read; each picture's size is checked before it is decoded.
using PageTaker = std::function<void(GreyPicture&)>;
std::string ReadPicturePages(const std::string& path, const PageTaker& take);

/// Makes sure what reads the pictures is set up: on Linux a QGuiApplication (offscreen), for
/// fonts and image plug-ins; on Windows COM on this thread, for the imaging component.
void EnsureApplication();

}  // namespace quorvel::scan
