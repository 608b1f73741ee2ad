#include "scan/png_pages.h"

#include <png.h>

#include <cstdint>
#include <fstream>

namespace quorvel::scan {
namespace {

std::uint32_t BigEndian(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

// The resolution the PNG's pHYs chunk states in dots a metre, as dots an inch; 0 when it
// states none. The chunk comes before the picture data.
double StatedDpi(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
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

}  // namespace

std::string ReadColourPng(const std::string& path, const PageTaker& take, bool& read) {
  read = false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    return {};
  }
  const bool colour =
      (image.format & PNG_FORMAT_FLAG_COLOR) != 0 && (image.format & PNG_FORMAT_FLAG_COLORMAP) == 0;
  const long long dots = static_cast<long long>(image.width) * image.height;
  if (!colour || image.width > kMaxSidePixels || image.height > kMaxSidePixels ||
      dots > kMaxPagePixels) {
    png_image_free(&image);
    return {};
  }
  read = true;
  GreyPicture grey(static_cast<int>(image.width), static_cast<int>(image.height), StatedDpi(path));
  if (grey.empty()) {
    png_image_free(&image);
    return "no memory for the picture";
  }
  // libpng turns each row to grey by the colours' luminance; where the picture is transparent
  // the paper shows.
  image.format = PNG_FORMAT_GRAY;
  const png_color paper{255, 255, 255};
  if (png_image_finish_read(&image, &paper, grey.data(), static_cast<png_int_32>(grey.width()),
                            nullptr) == 0) {
    return std::string("the picture cannot be decoded: ") + image.message;
  }
  take(grey);
  return {};
}

}  // namespace quorvel::scan
