#pragma once

#include <string>

#include "render/canvas.h"
#include "render/render_sheet.h"

namespace quorvel::render {

/// Draws the sheet's marks that belong on `page`; symbols that could not be drawn are noted in
/// `result`.
void DrawPage(Canvas& canvas, const sheet::Sheet& sheet, int page, RenderResult& result);

/// The file of `page` (from 0): `path` itself for the first, PATH-2.png, PATH-3.png ... after.
std::string PagePath(const std::string& path, int page);

/// Whether `path` names a PDF file (ends in ".pdf", any case).
bool IsPdfPath(const std::string& path);

/// A page's size in dots at `dpi`.
struct PageDots {
  int width;
  int height;
};
PageDots PageSize(sheet::Paper paper, int dpi);

}  // namespace quorvel::render
