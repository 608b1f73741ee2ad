#include "render/render_sheet.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "render/page_drawing.h"
#include "render/qt_canvas.h"

namespace quorvel::render {
namespace {

// Qt's start-up remarks (no runtime folder, no session bus) say nothing about the sheet.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "quorvel-cli: %s\n", message.toLocal8Bit().constData());
  }
}

// Fonts need a QGuiApplication; the offscreen platform needs no display.
void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) {
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

// The page as a printer lays it down: black or white, one bit a dot. Converting by hand keeps
// Qt from widening the page to 32 bits a dot on the way.
QImage ToMono(const QImage& gray) {
  QImage mono(gray.size(), QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.setDotsPerMeterX(gray.dotsPerMeterX());
  mono.setDotsPerMeterY(gray.dotsPerMeterY());
  const int width = gray.width();
  for (int y = 0; y < gray.height(); ++y) {
    const uchar* in = gray.constScanLine(y);
    uchar* out = mono.scanLine(y);
    std::memset(out, 0, static_cast<std::size_t>(mono.bytesPerLine()));
    for (int x = 0; x < width; ++x) {
      if (in[x] < 128) {
        out[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
      }
    }
  }
  return mono;
}

void RenderPng(const sheet::Sheet& sheet, const std::string& path, const RenderOptions& options,
               RenderResult& result) {
  const PageDots size = PageSize(options.paper, options.dpi);
  const int pages = std::max(sheet.pages, 1);
  for (int page = 0; page < pages; ++page) {
    QImage image(size.width, size.height, QImage::Format_Grayscale8);
    if (image.isNull()) {
      result.error = "no memory for a page at " + std::to_string(options.dpi) + " dpi";
      return;
    }
    const int dotsPerMeter = static_cast<int>(options.dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter, static_cast<double>(options.dpi), sheet.geometry);
      DrawPage(canvas, sheet, page, result);
    }
    const std::string file = PagePath(path, page);
    const QImage mono = ToMono(image);
    image = QImage();
    if (!mono.save(QString::fromStdString(file), "PNG")) {
      result.error = "cannot write " + file;
      return;
    }
    result.files.push_back(file);
  }
}

void RenderPdf(const sheet::Sheet& sheet, const std::string& path, const RenderOptions& options,
               RenderResult& result) {
  constexpr int kPdfResolution = 1200;
  QPdfWriter writer(QString::fromStdString(path));
  writer.setResolution(kPdfResolution);
  writer.setPageSize(
      QPageSize(options.paper == sheet::Paper::kLetter ? QPageSize::Letter : QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setCreator("quorvel-cli render");
  QPainter painter;
  if (!painter.begin(&writer)) {
    result.error = "cannot write " + path;
    return;
  }
  QtCanvas canvas(painter, static_cast<double>(kPdfResolution), sheet.geometry);
  const int pages = std::max(sheet.pages, 1);
  for (int page = 0; page < pages; ++page) {
    if (page > 0) {
      writer.newPage();
    }
    DrawPage(canvas, sheet, page, result);
  }
  if (!painter.end()) {
    result.error = "cannot write " + path;
    return;
  }
  result.files.push_back(path);
}

}  // namespace

RenderResult RenderSheet(const sheet::Sheet& sheet, const std::string& path,
                         const RenderOptions& options) {
  EnsureGuiApplication();
  RenderResult result;
  if (IsPdfPath(path)) {
    RenderPdf(sheet, path, options, result);
  } else {
    RenderPng(sheet, path, options, result);
  }
  return result;
}

}  // namespace quorvel::render
