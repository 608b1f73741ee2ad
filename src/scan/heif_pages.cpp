#include "scan/heif_pages.h"

#include <libheif/heif.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>

namespace quorvel::scan {
namespace {

struct HeifDeleter {
  void operator()(heif_context* context) const { heif_context_free(context); }
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
  void operator()(heif_image* image) const { heif_image_release(image); }
  void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
template <typename T>
using HeifPointer = std::unique_ptr<T, HeifDeleter>;

std::string Failed(const char* what, const heif_error& error) {
  return std::string(what) + ": " + (error.message != nullptr ? error.message : "libheif error");
}

// The decoded grey plane copied into packed rows, scaled down first when it has too many dots.
std::string ToGrey(HeifPointer<heif_image> image, GreyPicture& grey) {
  int width = heif_image_get_width(image.get(), heif_channel_Y);
  int height = heif_image_get_height(image.get(), heif_channel_Y);
  const double dots = static_cast<double>(width) * height;
  if (dots > static_cast<double>(kMaxPagePixels)) {
    const double shrink = std::sqrt(static_cast<double>(kMaxPagePixels) / dots);
    width = static_cast<int>(width * shrink);
    height = static_cast<int>(height * shrink);
    heif_image* scaled = nullptr;
    const heif_error error = heif_image_scale_image(image.get(), &scaled, width, height, nullptr);
    if (error.code != heif_error_Ok) {
      return Failed("the picture cannot be scaled down", error);
    }
    image.reset(scaled);
  }
  int stride = 0;
  const std::uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_Y, &stride);
  if (plane == nullptr || width <= 0 || height <= 0) {
    return "the picture has no grey plane";
  }
  grey = GreyPicture(width, height);
  if (grey.empty()) {
    return "no memory for the picture";
  }
  for (int y = 0; y < height; ++y) {
    std::memcpy(grey.row(y), plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride),
                static_cast<std::size_t>(width));
  }
  return {};
}

}  // namespace

bool IsHeif(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char head[32] = {};
  file.read(head, sizeof head);
  const auto length = static_cast<int>(file.gcount());
  return length >= 12 && heif_check_filetype(reinterpret_cast<const std::uint8_t*>(head), length) ==
                             heif_filetype_yes_supported;
}

std::string ReadHeif(const std::string& path, const PageTaker& take) {
  HeifPointer<heif_context> context(heif_context_alloc());
  heif_error error = heif_context_read_from_file(context.get(), path.c_str(), nullptr);
  if (error.code != heif_error_Ok) {
    return Failed("not a HEIF picture that can be read", error);
  }
  heif_image_handle* primary = nullptr;
  error = heif_context_get_primary_image_handle(context.get(), &primary);
  HeifPointer<heif_image_handle> handle(primary);
  if (error.code != heif_error_Ok) {
    return Failed("the HEIF file holds no picture", error);
  }
  const int width = heif_image_handle_get_width(handle.get());
  const int height = heif_image_handle_get_height(handle.get());
  if (width <= 0 || height <= 0) {
    return "the picture has no size";
  }
  if (width > kMaxSidePixels || height > kMaxSidePixels) {
    return SizeRefused(width, height);
  }
  // libheif turns and mirrors the picture as its file says (ignore_transformations is 0). It is
  // decoded as YCbCr 4:2:0, as phones store it: its luma plane is the grey, and no RGB copy is
  // made.
  HeifPointer<heif_decoding_options> options(heif_decoding_options_alloc());
  heif_image* decoded = nullptr;
  error = heif_decode_image(handle.get(), &decoded, heif_colorspace_YCbCr, heif_chroma_420,
                            options.get());
  HeifPointer<heif_image> image(decoded);
  if (error.code != heif_error_Ok) {
    return Failed("the picture cannot be decoded", error);
  }
  GreyPicture grey;
  const std::string failure = ToGrey(std::move(image), grey);
  if (!failure.empty()) {
    return failure;
  }
  take(grey);
  return {};
}

}  // namespace quorvel::scan
