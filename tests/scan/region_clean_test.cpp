#include "scan/region_clean.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvel::scan {
namespace {

// A row of bars drawn at 300 dpi, widths in dots (bar, space, bar, ...), with a quiet zone of
// bare paper either side; then lit and soiled as a case says. The cleaned region must have ink
// in exactly the bars' columns, whatever the light, and none left from the specks.
constexpr int kQuiet = 60, kHeight = 120;
const std::vector<int> kWidths{3, 3, 9, 3, 3, 9, 9, 3, 3, 6, 12, 3, 6, 3, 3, 9, 3};

struct Lighting {
  const char* name;
  int paperTop, paperBottom;  // the paper's level down the region (light falling off)
  double toner;               // ink's level as a share of the paper's under it
  bool shadowBand;            // rows 40 to 70 at half the light
  int specks;                 // dark specks 1 to 3 dots across, placed at random
};

void PrintTo(const Lighting& l, std::ostream* out) {
  *out << l.name;
}

std::vector<bool> BarColumns() {
  std::vector<bool> bars(kQuiet, false);
  for (std::size_t i = 0; i < kWidths.size(); ++i) {
    bars.insert(bars.end(), static_cast<std::size_t>(kWidths[i]), i % 2 == 0);
  }
  bars.insert(bars.end(), kQuiet, false);
  return bars;
}

Region Drawn(const Lighting& l, const std::vector<bool>& bars) {
  const int width = static_cast<int>(bars.size());
  Region region{GreyPicture(width, kHeight), {}, 300};
  for (int y = 0; y < kHeight; ++y) {
    double paper = l.paperTop + (l.paperBottom - l.paperTop) * y / (kHeight - 1.0);
    paper *= l.shadowBand && y >= 40 && y < 70 ? 0.5 : 1;
    for (int x = 0; x < width; ++x) {
      region.grey.row(y)[x] =
          static_cast<std::uint8_t>(bars[static_cast<std::size_t>(x)] ? paper * l.toner : paper);
    }
  }
  std::mt19937 random(7);
  for (int i = 0; i < l.specks; ++i) {
    const int x = static_cast<int>(random() % static_cast<unsigned>(width - 3));
    const int y = static_cast<int>(random() % (kHeight - 3));
    const int size = 1 + static_cast<int>(random() % 3);
    for (int dy = 0; dy < size; ++dy) {
      for (int dx = 0; dx < size; ++dx) {
        region.grey.row(y + dy)[x + dx] = 20;
      }
    }
  }
  return region;
}

class CleanedLocallyLighting : public testing::TestWithParam<Lighting> {};

TEST_P(CleanedLocallyLighting, InkInTheBarsColumnsAndNowhereElse) {
  const std::vector<bool> bars = BarColumns();
  const Region region = Drawn(GetParam(), bars);
  const GreyPicture clean = CleanedLocally(region, 0.04);
  const int margin = CleanMargin(region);
  ASSERT_EQ(clean.width(), region.grey.width() + 2 * margin);
  for (int x = 0; x < region.grey.width(); ++x) {
    int ink = 0;
    for (int y = 0; y < kHeight; ++y) {
      ink += clean.at(x + margin, y + margin) == 0 ? 1 : 0;
    }
    if (bars[static_cast<std::size_t>(x)]) {
      EXPECT_EQ(ink, kHeight) << "bar column " << x;
    } else {
      EXPECT_EQ(ink, 0) << "space column " << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CleanedLocallyLighting,
                         testing::Values(Lighting{"clean", 255, 255, 0.0, false, 0},
                                         Lighting{"greyPaperGreyToner", 170, 170, 0.55, false, 0},
                                         Lighting{"lightFallingOff", 240, 110, 0.4, false, 0},
                                         Lighting{"shadowBand", 240, 240, 0.3, true, 0},
                                         Lighting{"specks", 255, 255, 0.0, false, 80},
                                         Lighting{"allAtOnce", 200, 120, 0.5, true, 80}),
                         [](const testing::TestParamInfo<Lighting>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quorvel::scan
