#include "scan/annotate.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include "scan/picture_pages.h"
#include "verify/placement.h"

namespace quorvel::scan {
namespace {

QColor ColourOf(const std::string& name) {
  if (name == "green") {
    return QColor(0, 150, 60);
  }
  if (name == "amber") {
    return QColor(230, 150, 0);
  }
  return QColor(210, 30, 30);
}

void DrawLabel(QPainter& painter, const verify::Placement& placement, const verify::Label& label) {
  const verify::Box& b = label.box;
  QPolygonF outline;
  for (const verify::Point corner : {verify::Point{b.left, b.top},
                                     verify::Point{b.left + b.width, b.top},
                                     verify::Point{b.left + b.width, b.top + b.height},
                                     verify::Point{b.left, b.top + b.height}}) {
    const verify::Point p = verify::ToPicture(placement, corner);
    outline << QPointF(p.x, p.y);
  }
  const QColor colour = ColourOf(label.colour);
  painter.setPen(QPen(colour, std::max(2.0, placement.scale / 100)));
  painter.drawPolygon(outline);
  QFont font("Nimbus Sans");
  font.setPixelSize(std::max(10, static_cast<int>(placement.scale / 8)));
  font.setBold(true);
  painter.setFont(font);
  const verify::Point at = verify::ToPicture(placement, {b.left + b.width + 0.15, b.top + 0.15});
  painter.save();
  painter.translate(at.x, at.y);
  painter.rotate(placement.rotationDegrees);
  painter.drawText(QPointF(0, 0), QString::fromStdString(label.text));
  painter.restore();
}

}  // namespace

std::string Annotate(const std::string& path, const verify::PageFindings& page,
                     const std::vector<verify::Label>& labels, const std::string& output,
                     int longestSide) {
  EnsureApplication();
  QImage picture;
  int index = 0;
  const std::string error = ReadPicturePages(path, [&](PicturePage& taken) {
    if (index++ == page.page) {
      picture = taken.grey.convertToFormat(QImage::Format_RGB32);
    }
  });
  if (!error.empty() || picture.isNull()) {
    return error.empty() ? "no memory for the annotated picture" : error;
  }
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const verify::Label& label : labels) {
      DrawLabel(painter, page.placement, label);
    }
  }
  if (longestSide > 0 && std::max(picture.width(), picture.height()) > longestSide) {
    picture = picture.scaled(longestSide, longestSide, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
  }
  if (!picture.save(QString::fromStdString(output), "PNG")) {
    return "cannot write " + output;
  }
  return {};
}

}  // namespace quorvel::scan
