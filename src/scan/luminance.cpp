#include "scan/luminance.h"

#include <cmath>

namespace quorvel::scan {
namespace {

// sRGB's transfer curve, both ways (IEC 61966-2-1).
double Decoded(double level) {
  return level <= 0.04045 ? level / 12.92 : std::pow((level + 0.055) / 1.055, 2.4);
}
double Encoded(double light) {
  return light <= 0.0031308 ? light * 12.92 : 1.055 * std::pow(light, 1 / 2.4) - 0.055;
}

}  // namespace

GreyLevels::GreyLevels(const LuminanceWeights& weights) {
  for (int level = 0; level < 256; ++level) {
    const double light = Decoded(level / 255.0);
    red_[static_cast<std::size_t>(level)] = weights.red * light;
    green_[static_cast<std::size_t>(level)] = weights.green * light;
    blue_[static_cast<std::size_t>(level)] = weights.blue * light;
  }
  for (int step = 0; step < kSteps; ++step) {
    const double level = Encoded(static_cast<double>(step) / (kSteps - 1)) * 255 + 0.5;
    encoded_[static_cast<std::size_t>(step)] = static_cast<std::uint8_t>(level > 255 ? 255 : level);
  }
}

}  // namespace quorvel::scan
