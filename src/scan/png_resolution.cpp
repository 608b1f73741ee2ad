#include "scan/png_resolution.h"

#include <cstdint>
#include <string>

namespace quorvel::scan {
namespace {

std::uint32_t BigEndian(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

}  // namespace

double PngStatedDpi(std::istream& file) {
  file.seekg(8);  // past the signature
  unsigned char head[8];
  while (file.read(reinterpret_cast<char*>(head), sizeof head)) {
    const std::uint32_t length = BigEndian(head);
    const std::string type(reinterpret_cast<const char*>(head + 4), 4);
    if (type == "IDAT" || type == "IEND") {
      return 0;
    }
    if (type == "pHYs" && length == 9) {
      unsigned char body[9];
      file.read(reinterpret_cast<char*>(body), sizeof body);
      return file && body[8] == 1 ? BigEndian(body) * 0.0254 : 0;
    }
    file.seekg(static_cast<std::streamoff>(length) + 4, std::ios::cur);  // the data and its CRC
  }
  return 0;
}

}  // namespace quorvel::scan
