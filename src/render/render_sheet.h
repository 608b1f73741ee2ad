#pragma once

#include <string>
#include <vector>

#include "sheet/page_model.h"

namespace quorvel::render {

struct RenderOptions {
  sheet::Paper paper = sheet::Paper::kA4;
  int dpi = 300;  // PNG only; a PDF keeps vectors and text
};

/// What a drawing wrote, or why it failed.
struct RenderResult {
  std::vector<std::string> files;  // a PNG per page (OUT.png, OUT-2.png, ...) or one PDF
  std::vector<std::string> notes;  // symbols that could not be drawn
  std::string error;               // empty on success
};

/// Draws the sheet's pages to `path`: a PDF when it ends in ".pdf", PNG otherwise. The first
/// page goes to `path`; further PNG pages to PATH-2.png, PATH-3.png ... An empty sheet is drawn
/// as one blank page.
RenderResult RenderSheet(const sheet::Sheet& sheet, const std::string& path,
                         const RenderOptions& options);

}  // namespace quorvel::render
