#include "scan/picture_pages.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cctype>
#include <string>
#include <vector>

namespace quorvel::scan {
namespace {

// A picture five dots wide (rows padded to 8 bytes in Qt's own images) and two high, stored in
// one format, and the grey levels its dots must read as, row by row.
struct Case {
  const char* name;
  QImage::Format format;
  const char* suffix;
  std::vector<QRgb> colours;  // the dots, as colours; a palette picture indexes them in order
  std::vector<int> greys;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kMid = qRgb(128, 128, 128),
           kDark = qRgb(77, 77, 77);

QImage Drawn(const Case& c) {
  QImage picture(5, 2, c.format);
  if (c.format == QImage::Format_Mono || c.format == QImage::Format_Indexed8) {
    QList<QRgb> table;
    for (QRgb colour : c.colours) {
      if (!table.contains(colour)) {
        table.push_back(colour);
      }
    }
    picture.setColorTable(table);
    for (int i = 0; i < 10; ++i) {
      picture.setPixel(i % 5, i / 5, static_cast<uint>(table.indexOf(c.colours[i])));
    }
  } else {
    for (int i = 0; i < 10; ++i) {
      picture.setPixelColor(i % 5, i / 5, QColor(c.colours[i]));
    }
  }
  picture.setDotsPerMeterX(11811);  // 300 dpi
  picture.setDotsPerMeterY(11811);
  return picture;
}

class ReadGrey : public testing::TestWithParam<Case> {};

TEST_P(ReadGrey, DotsComeAsTheirGreyLevelsInPackedRows) {
  EnsureApplication();
  const Case& c = GetParam();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QString("page.") + c.suffix);
  ASSERT_TRUE(Drawn(c).save(path));
  std::vector<GreyPicture> pages;
  const std::string error = ReadPicturePages(
      path.toStdString(), [&pages](GreyPicture& page) { pages.push_back(std::move(page)); });
  ASSERT_EQ(error, "");
  ASSERT_EQ(pages.size(), 1u);
  const GreyPicture& grey = pages[0];
  ASSERT_EQ(grey.width(), 5);
  ASSERT_EQ(grey.height(), 2);
  EXPECT_EQ(grey.row(1) - grey.row(0), 5);  // packed: zbar reads the buffer as it is
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(grey.at(i % 5, i / 5), c.greys[static_cast<std::size_t>(i)])
        << c.name << " dot " << i;
  }
  EXPECT_NEAR(pages[0].dpi, 300, 0.01);
}

// A colour picture taller than the strips it is turned to grey by: each row has its own grey,
// and every row must land in its place.
TEST(ReadGreyRows, EveryRowOfATallColourPictureKeepsItsPlace) {
  EnsureApplication();
  QImage picture(3, 200, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      picture.setPixel(x, y, qRgb(y, y, y));
    }
  }
  picture.setDotsPerMeterX(5906);  // 150 dpi
  picture.setDotsPerMeterY(5906);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("tall.png");
  ASSERT_TRUE(picture.save(path));
  std::vector<GreyPicture> pages;
  ASSERT_EQ(ReadPicturePages(path.toStdString(),
                             [&pages](GreyPicture& page) { pages.push_back(std::move(page)); }),
            "");
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].height(), 200);
  for (int y = 0; y < 200; ++y) {
    EXPECT_EQ(pages[0].at(0, y), y) << "row " << y;
    EXPECT_EQ(pages[0].at(2, y), y) << "row " << y;
  }
  EXPECT_NEAR(pages[0].dpi, 150, 0.05);
}

const std::vector<QRgb> kPattern{kWhite, kBlack, kWhite, kBlack, kBlack,
                                 kBlack, kWhite, kWhite, kWhite, kBlack};
const std::vector<int> kPatternGreys{255, 0, 255, 0, 0, 0, 255, 255, 255, 0};
const std::vector<QRgb> kShades{kWhite, kMid, kBlack, kDark,  kWhite,
                                kMid,   kMid, kDark,  kBlack, kWhite};
const std::vector<int> kShadeGreys{255, 128, 0, 77, 255, 128, 128, 77, 0, 255};

INSTANTIATE_TEST_SUITE_P(
    Formats, ReadGrey,
    testing::Values(Case{"1-bit PNG", QImage::Format_Mono, "png", kPattern, kPatternGreys},
                    Case{"1-bit BMP", QImage::Format_Mono, "bmp", kPattern, kPatternGreys},
                    Case{"palette PNG", QImage::Format_Indexed8, "png", kShades, kShadeGreys},
                    Case{"grey PNG", QImage::Format_Grayscale8, "png", kShades, kShadeGreys},
                    Case{"colour PNG", QImage::Format_RGB32, "png", kShades, kShadeGreys},
                    Case{"colour TIFF", QImage::Format_RGB32, "tif", kShades, kShadeGreys},
                    Case{"colour BMP", QImage::Format_RGB32, "bmp", kPattern, kPatternGreys}),
    [](const testing::TestParamInfo<Case>& info) {
      std::string name;
      for (const char* p = info.param.name; *p != '\0'; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
          name += *p;
        }
      }
      return name;
    });

}  // namespace
}  // namespace quorvel::scan
