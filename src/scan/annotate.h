#pragma once

#include <string>
#include <vector>

#include "verify/scan_module.h"

namespace quorvel::scan {

/// One block's mark on the annotated scan, in the picture's dots: its outline, and its text
/// written from `textAt` along a line turned `textDegrees` clockwise.
struct Mark {
  std::vector<verify::Point> outline;
  unsigned char red = 0, green = 0, blue = 0;
  double penWidth = 2;
  std::string text;
  verify::Point textAt;
  double textDegrees = 0;
  int textPixels = 10;  // the height of the text's letters
  bool bold = true;
};

/// Where each label's box lies on the picture the placement describes, and how it is drawn.
std::vector<Mark> AnnotationMarks(const verify::Placement& placement,
                                  const std::vector<verify::Label>& labels);

}  // namespace quorvel::scan
