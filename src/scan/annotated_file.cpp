// The annotated scan drawn and written with Qt: the marks themselves are worked out on the
// grey picture's geometry alone (annotate.cpp).

#include "scan/annotated_file.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include "scan/annotate.h"
#include "scan/picture_pages.h"

namespace quorvel::scan {
namespace {

void Draw(QPainter& painter, const Mark& mark) {
  QPolygonF outline;
  for (const verify::Point& p : mark.outline) {
    outline << QPointF(p.x, p.y);
  }
  const QColor colour(mark.red, mark.green, mark.blue);
  painter.setPen(QPen(colour, mark.penWidth));
  painter.drawPolygon(outline);
  QFont font("Nimbus Sans");
  font.setPixelSize(mark.textPixels);
  font.setBold(mark.bold);
  painter.setFont(font);
  painter.save();
  painter.translate(mark.textAt.x, mark.textAt.y);
  painter.rotate(mark.textDegrees);
  painter.drawText(QPointF(0, 0), QString::fromStdString(mark.text));
  painter.restore();
}

}  // namespace

std::string WriteAnnotated(const std::string& path, const verify::PageFindings& page,
                           const std::vector<verify::Label>& labels, const std::string& output,
                           int longestSide) {
  EnsureApplication();
  QImage picture;
  int index = 0;
  const std::string error = ReadPicturePages(path, [&](GreyPicture& taken) {
    if (index++ == page.page) {
      const QImage grey(taken.data(), taken.width(), taken.height(), taken.width(),
                        QImage::Format_Grayscale8);
      picture = grey.convertToFormat(QImage::Format_RGB32);
    }
  });
  if (!error.empty() || picture.isNull()) {
    return error.empty() ? "no memory for the annotated picture" : error;
  }
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Mark& mark : AnnotationMarks(page.placement, labels)) {
      Draw(painter, mark);
    }
  }
  if (longestSide > 0 && std::max(picture.width(), picture.height()) > longestSide) {
    picture =
        picture.scaled(longestSide, longestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  if (!picture.save(QString::fromStdString(output), "PNG")) {
    return "cannot write " + output;
  }
  return {};
}

}  // namespace quorvel::scan
