#pragma once

#include <filesystem>
#include <string>

namespace quorvel::win32 {

/// Writes rows of 8-bit grey (bytesPerPixel 1) or 32-bit BGRA (4) as a PNG file with its dpi.
/// Returns an empty string, or what failed with the system's reason.
std::string WritePng(const std::filesystem::path& file, int width, int height, int stride,
                     int bytesPerPixel, const unsigned char* pixels, double dpi);

}  // namespace quorvel::win32
