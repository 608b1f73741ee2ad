#include "scan/annotate.h"

#include <algorithm>

#include "verify/placement.h"

namespace quorvel::scan {
namespace {

void SetColour(const std::string& name, Mark& mark) {
  if (name == "green") {
    mark.red = 0, mark.green = 150, mark.blue = 60;
  } else if (name == "amber") {
    mark.red = 230, mark.green = 150, mark.blue = 0;
  } else {
    mark.red = 210, mark.green = 30, mark.blue = 30;
  }
}

}  // namespace

std::vector<Mark> AnnotationMarks(const verify::Placement& placement,
                                  const std::vector<verify::Label>& labels) {
  std::vector<Mark> marks;
  for (const verify::Label& label : labels) {
    const verify::Box& b = label.box;
    Mark mark;
    for (const verify::Point corner :
         {verify::Point{b.left, b.top}, verify::Point{b.left + b.width, b.top},
          verify::Point{b.left + b.width, b.top + b.height},
          verify::Point{b.left, b.top + b.height}}) {
      mark.outline.push_back(verify::ToPicture(placement, corner));
    }
    SetColour(label.colour, mark);
    mark.penWidth = std::max(2.0, placement.scale / 100);
    mark.text = label.text;
    mark.textAt = verify::ToPicture(placement, {b.left + b.width + 0.15, b.top + 0.15});
    mark.textDegrees = placement.rotationDegrees;
    mark.textPixels = std::max(10, static_cast<int>(placement.scale / 8));
    marks.push_back(std::move(mark));
  }
  return marks;
}

}  // namespace quorvel::scan
