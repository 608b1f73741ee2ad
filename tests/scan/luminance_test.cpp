#include "scan/luminance.h"

#include <gtest/gtest.h>

#include <QImage>

namespace quorvel::scan {
namespace {

// The Windows reader turns colours to grey as Qt 6 does on Linux: each colour's level from
// GreyLevels is within one of the level Qt's own conversion gives it.
TEST(GreyLevels, ColoursGreyAsQtGreysThem) {
  const GreyLevels levels(kQtWeights);
  const int colours[][3] = {{255, 0, 0},     {0, 255, 0},     {0, 0, 255},  {128, 64, 200},
                            {90, 74, 60},    {200, 180, 170}, {10, 20, 30}, {0, 0, 0},
                            {255, 255, 255}, {128, 128, 128}, {1, 2, 3},    {250, 5, 128}};
  for (const auto& c : colours) {
    QImage colour(1, 1, QImage::Format_RGB32);
    colour.setPixel(0, 0, qRgb(c[0], c[1], c[2]));
    const int qt = colour.convertToFormat(QImage::Format_Grayscale8).constScanLine(0)[0];
    const int ours = levels.Of(static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                               static_cast<std::uint8_t>(c[2]));
    EXPECT_NEAR(ours, qt, 1) << c[0] << "," << c[1] << "," << c[2];
  }
}

}  // namespace
}  // namespace quorvel::scan
