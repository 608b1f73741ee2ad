#include "render/page_drawing.h"

#include <algorithm>
#include <cctype>

namespace quorvel::render {

void DrawPage(Canvas& canvas, const sheet::Sheet& sheet, int page, RenderResult& result) {
  for (const sheet::TextRun& run : sheet.texts) {
    if (run.at.page == page) {
      DrawText(canvas, run);
    }
  }
  for (const sheet::GlyphRun& run : sheet.glyphs) {
    if (run.at.page == page) {
      DrawGlyphs(canvas, run);
    }
  }
  for (const sheet::Barcode& barcode : sheet.barcodes) {
    if (barcode.at.page == page) {
      const std::string problem = DrawBarcode(canvas, barcode);
      if (!problem.empty()) {
        result.notes.push_back(problem);
      }
    }
  }
}

std::string PagePath(const std::string& path, int page) {
  if (page == 0) {
    return path;
  }
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string suffix = "-" + std::to_string(page + 1);
  return hasExtension ? path.substr(0, dot) + suffix + path.substr(dot) : path + suffix;
}

bool IsPdfPath(const std::string& path) {
  if (path.size() < 4) {
    return false;
  }
  std::string ending = path.substr(path.size() - 4);
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".pdf";
}

PageDots PageSize(sheet::Paper paper, int dpi) {
  const sheet::PaperSize size = sheet::SizeOf(paper);
  return {static_cast<int>(size.widthInches * dpi + 0.5),
          static_cast<int>(size.heightInches * dpi + 0.5)};
}

}  // namespace quorvel::render
