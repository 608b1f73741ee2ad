#include "scan/jpeg_orientation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::scan {
namespace {

// A number of `size` bytes at `at` of the TIFF structure, in its byte order; 0 past its end.
std::uint32_t Number(const std::vector<unsigned char>& tiff, std::size_t at, int size,
                     bool bigEndian) {
  if (at + static_cast<std::size_t>(size) > tiff.size()) {
    return 0;
  }
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) {
    const unsigned char byte = tiff[at + static_cast<std::size_t>(bigEndian ? i : size - 1 - i)];
    value = value << 8 | byte;
  }
  return value;
}

// The orientation in an APP1 segment's body ("Exif\0\0" and a TIFF structure), or 1.
int ExifOrientation(const std::vector<unsigned char>& body) {
  if (body.size() < 14 ||
      std::string(body.begin(), body.begin() + 6) != std::string("Exif\0\0", 6)) {
    return 1;
  }
  const std::vector<unsigned char> tiff(body.begin() + 6, body.end());
  const bool bigEndian = tiff[0] == 'M';
  const std::uint32_t directory = Number(tiff, 4, 4, bigEndian);
  const std::uint32_t entries = Number(tiff, directory, 2, bigEndian);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + static_cast<std::size_t>(i) * 12;
    if (Number(tiff, entry, 2, bigEndian) == 0x0112) {
      const std::uint32_t orientation = Number(tiff, entry + 8, 2, bigEndian);
      return orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
    }
  }
  return 1;
}

}  // namespace

int JpegOrientation(std::istream& file) {
  unsigned char start[2] = {};
  if (!file.read(reinterpret_cast<char*>(start), 2) || start[0] != 0xFF || start[1] != 0xD8) {
    return 1;
  }
  // Segments until the picture data: marker, two bytes of length (counting themselves), body.
  unsigned char head[4];
  while (file.read(reinterpret_cast<char*>(head), 4) && head[0] == 0xFF && head[1] != 0xDA &&
         head[1] != 0xD9) {
    const std::size_t length = static_cast<std::size_t>(head[2] << 8 | head[3]);
    if (length < 2) {
      return 1;
    }
    if (head[1] != 0xE1) {
      file.seekg(static_cast<std::streamoff>(length - 2), std::ios::cur);
      continue;
    }
    std::vector<unsigned char> body(length - 2);
    if (!file.read(reinterpret_cast<char*>(body.data()),
                   static_cast<std::streamsize>(body.size()))) {
      return 1;
    }
    const int orientation = ExifOrientation(body);
    if (orientation != 1) {
      return orientation;
    }
  }
  return 1;
}

}  // namespace quorvel::scan
