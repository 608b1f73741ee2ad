#include "scan/picture_pages.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "scan/heif_pages.h"
#include "scan/png_pages.h"

namespace quorvel::scan {
namespace {

constexpr double kPdfDpi = 300;
constexpr int kAllocationLimitMegabytes = 256;

void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "quorvel-cli: %s\n", message.toLocal8Bit().constData());
  }
}

bool IsPdf(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    return false;
  }
  return file.read(5) == "%PDF-";
}

// poppler's own remarks on a damaged file; what matters is said by the error returned.
void QuietPoppler(const std::string&, void*) {}

std::string ReadPdf(const std::string& path, const PageTaker& take) {
  poppler::set_debug_error_function(QuietPoppler, nullptr);
  std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
  if (!document) {
    return "not a PDF that can be read";
  }
  if (document->is_locked()) {
    return "the PDF is locked with a password";
  }
  const int count = document->pages();
  if (count <= 0) {
    return "the PDF has no pages";
  }
  poppler::page_renderer renderer;
  renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  renderer.set_image_format(poppler::image::format_gray8);
  for (int i = 0; i < count && i < kMaxScanPages; ++i) {
    std::unique_ptr<poppler::page> page(document->create_page(i));
    if (!page) {
      return "page " + std::to_string(i + 1) + " of the PDF cannot be read";
    }
    const poppler::rectf size = page->page_rect();
    const double width = size.width() / 72 * kPdfDpi, height = size.height() / 72 * kPdfDpi;
    if (width < 1 || height < 1 || width > kMaxSidePixels || height > kMaxSidePixels) {
      return "page " + std::to_string(i + 1) + ": " +
             SizeRefused(std::llround(width), std::llround(height));
    }
    GreyPicture grey;
    {  // poppler's drawing of the page goes before the page is looked at
      const poppler::image image = renderer.render_page(page.get(), kPdfDpi, kPdfDpi);
      if (!image.is_valid() || image.format() != poppler::image::format_gray8) {
        return "page " + std::to_string(i + 1) + " of the PDF cannot be drawn";
      }
      grey = GreyPicture(image.width(), image.height(), kPdfDpi);
      if (grey.empty()) {
        return "page " + std::to_string(i + 1) + ": no memory for the picture";
      }
      for (int y = 0; y < image.height(); ++y) {
        std::memcpy(grey.row(y), image.const_data() + static_cast<long>(y) * image.bytes_per_row(),
                    static_cast<std::size_t>(image.width()));
      }
    }
    take(grey);
  }
  return {};
}

// The grey level Qt gives each colour of a palette, by its own conversion (which follows the
// picture's colour space).
std::vector<uchar> PaletteGreys(const QImage& image) {
  const QList<QRgb> colours = image.colorTable();
  std::vector<uchar> greys(256, 255);
  if (colours.isEmpty() || colours.size() > 256) {
    return greys;
  }
  QImage palette(static_cast<int>(colours.size()), 1, QImage::Format_Indexed8);
  palette.setColorTable(colours);
  palette.setColorSpace(image.colorSpace());
  for (int i = 0; i < palette.width(); ++i) {
    palette.scanLine(0)[i] = static_cast<uchar>(i);
  }
  const QImage grey = palette.convertToFormat(QImage::Format_Grayscale8);
  for (int i = 0; i < grey.width(); ++i) {
    greys[static_cast<std::size_t>(i)] = grey.constScanLine(0)[i];
  }
  return greys;
}

// Rows converted this many at a time: only a strip, never the whole picture, passes through the
// 32-bit form Qt converts by.
constexpr int kStripRows = 64;

// The greys of `count` dots of a 1-bit or palette row.
void PaletteRow(const uchar* in, QImage::Format format, const std::vector<uchar>& greys, int count,
                uchar* out) {
  for (int x = 0; x < count; ++x) {
    const int index = format == QImage::Format_Indexed8 ? in[x]
                      : format == QImage::Format_Mono   ? (in[x >> 3] >> (7 - (x & 7))) & 1
                                                        : (in[x >> 3] >> (x & 7)) & 1;
    out[x] = greys[static_cast<std::size_t>(index)];
  }
}

// The decoded picture as packed grey. A 1-bit picture is turned dot by dot through its palette's
// greys into a buffer of its own. A picture of 8 bits a dot or more is turned in its own memory:
// a grey row is never longer than the row it comes from, so row y's greys, written at y times
// the width, land where that row or rows already turned lay. A palette picture goes through its
// greys, a grey one is moved up, other formats go through Qt's conversion a strip at a time,
// which gives the same greys without a full-size 32-bit copy.
GreyPicture ToPackedGrey(QImage image) {
  const int width = image.width(), height = image.height();
  const QImage::Format format = image.format();
  if (image.depth() < 8) {
    GreyPicture grey(width, height);
    if (grey.empty()) {
      return grey;
    }
    const std::vector<uchar> greys = PaletteGreys(image);
    for (int y = 0; y < height; ++y) {
      PaletteRow(image.constScanLine(y), format, greys, width, grey.row(y));
    }
    return grey;
  }
  uchar* const dots = image.bits();
  if (dots == nullptr) {
    return {};
  }
  const auto packed = [dots, width](int y) {
    return dots + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  };
  if (format == QImage::Format_Indexed8) {
    const std::vector<uchar> greys = PaletteGreys(image);
    for (int y = 0; y < height; ++y) {
      PaletteRow(image.constScanLine(y), format, greys, width, packed(y));
    }
  } else if (format == QImage::Format_Grayscale8) {
    for (int y = 1; y < height; ++y) {
      std::memmove(packed(y), image.constScanLine(y), static_cast<std::size_t>(width));
    }
  } else {
    for (int top = 0; top < height; top += kStripRows) {
      const int rows = std::min(kStripRows, height - top);
      const QImage strip =
          image.copy(0, top, width, rows).convertToFormat(QImage::Format_Grayscale8);
      if (strip.isNull()) {
        return {};
      }
      for (int y = 0; y < rows; ++y) {
        std::memcpy(packed(top + y), strip.constScanLine(y), static_cast<std::size_t>(width));
      }
    }
  }
  // The grey keeps the decoded picture, whose memory it lies in, until it goes itself.
  return GreyPicture::Adopt(dots, width, height, std::make_shared<QImage>(std::move(image)));
}

bool IsColour(QImage::Format format) {
  return format != QImage::Format_Invalid && format != QImage::Format_Grayscale8 &&
         format != QImage::Format_Grayscale16 && format != QImage::Format_Indexed8 &&
         format != QImage::Format_Mono && format != QImage::Format_MonoLSB;
}

// One image of the reader's file, checked for size first and scaled down when it is very large.
std::string ReadImage(QImageReader& reader, const PageTaker& take) {
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) {
    return "the picture has no size";
  }
  if (size.width() > kMaxSidePixels || size.height() > kMaxSidePixels) {
    return SizeRefused(size.width(), size.height());
  }
  const long long dots = static_cast<long long>(size.width()) * size.height();
  const double shrink = ReadScale(dots, IsColour(reader.imageFormat()));
  if (shrink < 1) {
    reader.setScaledSize(
        QSize(static_cast<int>(size.width() * shrink), static_cast<int>(size.height() * shrink)));
  }
  QImage image = reader.read();
  if (image.isNull()) {
    return "the picture cannot be decoded: " + reader.errorString().toStdString();
  }
  const double dpi = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 * shrink : 0;
  GreyPicture grey = ToPackedGrey(std::move(image));  // the decoded picture is not kept beside it
  if (grey.empty()) {
    return "no memory for the picture";
  }
  grey.dpi = dpi;
  take(grey);
  return {};
}

}  // namespace

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler(QuietMessages);
  static int argc = 1;
  static char name[] = "quorvel-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

std::string ReadPicturePages(const std::string& path, const PageTaker& take) {
  const QFileInfo info(QString::fromStdString(path));
  if (!info.exists()) {
    return "no such file";
  }
  if (info.isDir()) {
    return "a folder, not a picture";
  }
  if (IsPdf(path)) {
    return ReadPdf(path, take);
  }
  if (IsHeif(path)) {
    return ReadHeif(path, take);
  }
  bool read = false;
  const std::string error = ReadColourPng(path, take, read);
  if (read) {
    return error;
  }
  // A 600 dpi A4 page decodes to some 140 MB before it is turned to grey (35 MB); pages beyond
  // kMaxPagePixels are scaled down, so this bounds what one page can take.
  QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
  QImageReader reader(QString::fromStdString(path));
  // A phone's JPEG stores its dots as the sensor saw them and says in EXIF how they are turned.
  reader.setAutoTransform(true);
  if (!reader.canRead()) {
    return "not a picture quorvel-cli reads (PNG, JPEG, WebP, HEIC, TIFF, BMP or PDF)";
  }
  for (int i = 0; i < kMaxScanPages; ++i) {
    const std::string error = ReadImage(reader, take);
    if (!error.empty()) {
      return i == 0 ? error : "page " + std::to_string(i + 1) + ": " + error;
    }
    if (!reader.jumpToNextImage()) {
      break;
    }
  }
  return {};
}

}  // namespace quorvel::scan
