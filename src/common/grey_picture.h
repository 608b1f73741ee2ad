#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace quorvel {

/// A picture as 8-bit grey (0 black, 255 white), its rows packed one after the other with no
/// padding, and the resolution its file states (0: none). What reads a scan's file (Qt, poppler,
/// libheif, or the Windows Imaging Component) fills one; everything that finds, measures and
/// marks the sheet works on it. It owns its dots, or keeps alive the buffer they lie in (a
/// decoded picture turned to grey where it lay). It moves; it is not copied by accident.
class GreyPicture {
 public:
  GreyPicture() = default;

  /// A picture of `width` by `height` dots, their levels not yet set; empty() when there is no
  /// memory for it.
  GreyPicture(int width, int height, double dpi = 0) : dpi(dpi) {
    if (width <= 0 || height <= 0) {
      return;
    }
    std::shared_ptr<std::uint8_t[]> dots(new (std::nothrow) std::uint8_t[Size(width, height)]);
    if (dots) {
      dots_ = dots.get();
      owner_ = std::move(dots);
      width_ = width;
      height_ = height;
    }
  }

  /// The dots at `dots`, `width` by `height` packed, which stay valid as long as `owner` lives.
  static GreyPicture Adopt(std::uint8_t* dots, int width, int height, std::shared_ptr<void> owner,
                           double dpi = 0) {
    GreyPicture picture;
    if (dots != nullptr && width > 0 && height > 0) {
      picture.dots_ = dots;
      picture.width_ = width;
      picture.height_ = height;
      picture.owner_ = std::move(owner);
    }
    picture.dpi = dpi;
    return picture;
  }

  GreyPicture(GreyPicture&& other) noexcept { *this = std::move(other); }
  GreyPicture& operator=(GreyPicture&& other) noexcept {
    dots_ = std::exchange(other.dots_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    owner_ = std::move(other.owner_);
    dpi = other.dpi;
    return *this;
  }
  GreyPicture(const GreyPicture&) = delete;
  GreyPicture& operator=(const GreyPicture&) = delete;

  bool empty() const { return dots_ == nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint8_t* row(int y) { return dots_ + Size(width_, y); }
  const std::uint8_t* row(int y) const { return dots_ + Size(width_, y); }
  std::uint8_t* data() { return dots_; }
  const std::uint8_t* data() const { return dots_; }
  std::size_t size() const { return Size(width_, height_); }
  std::uint8_t at(int x, int y) const { return row(y)[x]; }

  void Fill(std::uint8_t level) {
    if (dots_ != nullptr) {
      std::memset(dots_, level, size());
    }
  }

  double dpi = 0;  // dots per inch the file states; 0 when it states none

 private:
  static std::size_t Size(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }

  std::uint8_t* dots_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::shared_ptr<void> owner_;
};

}  // namespace quorvel
