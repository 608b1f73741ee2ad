#pragma once

#include <array>
#include <cstdint>

namespace quorvel::scan {

/// The weights of red, green and blue in a colour's luminance, applied to linear light.
struct LuminanceWeights {
  double red, green, blue;
};

/// sRGB's primaries adapted to D50, as Qt 6 weighs them turning a picture to grey.
inline constexpr LuminanceWeights kQtWeights{0.2225045, 0.7168786, 0.0606169};
/// ITU-R BT.709's, as libpng weighs them turning a colour PNG to grey.
inline constexpr LuminanceWeights kLibpngWeights{0.2126, 0.7152, 0.0722};

/// Grey levels of sRGB colours by their luminance: each channel decoded to linear light,
/// weighted, and the sum encoded back with sRGB's curve, so that a grey colour keeps its level.
/// The Windows reader turns colour pictures to grey with it, as Qt and libpng do on Linux.
class GreyLevels {
 public:
  explicit GreyLevels(const LuminanceWeights& weights);
  std::uint8_t Of(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
    const double light = red_[red] + green_[green] + blue_[blue];
    const int index = static_cast<int>(light * (kSteps - 1) + 0.5);
    return encoded_[static_cast<std::size_t>(index < 0 ? 0 : index >= kSteps ? kSteps - 1 : index)];
  }

 private:
  static constexpr int kSteps = 16384;
  std::array<double, 256> red_{}, green_{}, blue_{};
  std::array<std::uint8_t, kSteps> encoded_{};
};

}  // namespace quorvel::scan
