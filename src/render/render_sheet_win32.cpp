// The sheet drawn on Windows: each page with GDI into a page of grey dots, written as a PNG by
// the Windows Imaging Component. PDF is not written on Windows; the message names PNG instead.

#include <algorithm>
#include <filesystem>

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/wic_png.h"
#include "render/page_drawing.h"
#include "render/render_sheet.h"

namespace quorvel::render {
namespace {

// The output path as the command line gave it (UTF-8) to the file system's wide path.
std::filesystem::path FilePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

RenderResult RenderSheet(const sheet::Sheet& sheet, const std::string& path,
                         const RenderOptions& options) {
  RenderResult result;
  if (IsPdfPath(path)) {
    result.error = "PDF is not drawn on Windows: write a PNG instead (-o " +
                   path.substr(0, path.size() - 4) + ".png)";
    return result;
  }
  const PageDots size = PageSize(options.paper, options.dpi);
  const int pages = std::max(sheet.pages, 1);
  for (int page = 0; page < pages; ++page) {
    win32::GdiCanvas canvas(size.width, size.height, options.dpi, sheet.geometry);
    if (!canvas.Failed().empty()) {
      result.error = canvas.Failed();
      return result;
    }
    DrawPage(canvas, sheet, page, result);
    const std::string file = PagePath(path, page);
    result.error = win32::WritePng(FilePath(file), size.width, size.height, canvas.Stride(), 1,
                                   canvas.Rows(), options.dpi);
    if (!result.error.empty()) {
      return result;
    }
    result.files.push_back(file);
  }
  return result;
}

}  // namespace quorvel::render
