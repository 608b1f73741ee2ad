#include "scan/png_pages.h"

#include <png.h>

#include <fstream>

#include "scan/png_resolution.h"

namespace quorvel::scan {
namespace {

double StatedDpi(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return PngStatedDpi(file);
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
