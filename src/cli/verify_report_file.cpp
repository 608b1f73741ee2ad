// The pictures of verify's HTML report are drawn by the modules into a private folder, read
// back and embedded; the page itself is the portable core's (verify/html_report).

#include "cli/verify_report_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "cli/job_source.h"
#include "common/utf8_path.h"
#include "platform/command_line/command_line.h"
#include "render/render_sheet.h"
#include "verify/html_report.h"

namespace quorvel::cli {
namespace {

// Big enough to read each block's label on a phone, small enough to keep the page light.
constexpr int kScanPixels = 1600;
constexpr int kSheetDpi = 120;

// A folder of our own for the pictures, removed with everything in it when done.
class PictureFolder {
 public:
  PictureFolder() { path_ = platform::MakePrivateFolder("quorvel-verify-"); }
  ~PictureFolder() {
    if (!path_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(path_, ignored);
    }
  }
  PictureFolder(const PictureFolder&) = delete;
  PictureFolder& operator=(const PictureFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

verify::ReportPicture ReadPicture(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  verify::ReportPicture picture;
  picture.png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.eof() && !in.good()) {
    picture.png.clear();
  }
  if (picture.png.empty()) {
    picture.note = "the picture " + Utf8FromPath(file.filename()) + " could not be read back";
  }
  return picture;
}

verify::ReportPicture Missing(const std::string& why) {
  return {{}, why};
}

// The expected sheet's pages as PNG files, drawn once per sheet the scan's pages were matched
// with.
class SheetPictures {
 public:
  SheetPictures(const std::filesystem::path& folder, SheetPrinter printer)
      : folder_(folder), printer_(printer) {}

  verify::ReportPicture Page(const verify::ExpectedPage& expected) {
    auto drawn = drawn_.find(expected.sheet);
    if (drawn == drawn_.end()) {
      drawn = drawn_.emplace(expected.sheet, Draw(expected.sheet)).first;
    }
    const render::RenderResult& result = drawn->second;
    if (!result.error.empty()) {
      return Missing("the expected sheet could not be drawn: " + result.error);
    }
    const auto page = static_cast<std::size_t>(expected.page);
    if (page >= result.files.size()) {
      return Missing("the expected sheet has no page " + std::to_string(expected.page + 1));
    }
    return ReadPicture(PathFromUtf8(result.files[page]));
  }

 private:
  render::RenderResult Draw(const std::string& source) {
    render::RenderResult result;
    std::string loadError;
    const render::DrawingModule* drawing = platform::LoadDrawingModule(loadError);
    std::string job;
    if (drawing == nullptr) {
      result.error = "the drawing module could not be loaded: " + loadError;
    } else if (const std::string problem = LoadJob(source, job); !problem.empty()) {
      result.error = problem;
    } else {
      const sheet::Sheet sheet =
          sheet::Interpret(job, DialectFor(source, "auto", job), printer_.paper, printer_.columns);
      const std::string path =
          Utf8FromPath(folder_ / ("sheet-" + std::to_string(drawn_.size()) + ".png"));
      result = drawing->renderSheet(sheet, path, {printer_.paper, kSheetDpi});
    }
    return result;
  }

  std::filesystem::path folder_;
  SheetPrinter printer_;
  std::map<std::string, render::RenderResult> drawn_;
};

}  // namespace

std::string WriteReportFile(const verify::ScanModule& module, const std::string& scan,
                            const std::vector<verify::PageResult>& pages,
                            const std::vector<std::vector<verify::Label>>& labels,
                            SheetPrinter printer, int exitStatus, const std::string& output) {
  const PictureFolder folder;
  std::vector<verify::PagePictures> pictures(pages.size());
  if (folder.path().empty()) {
    for (verify::PagePictures& page : pictures) {
      page.scan = page.sheet = Missing("no temporary folder for the pictures");
    }
  } else {
    SheetPictures sheets(folder.path(), printer);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const std::filesystem::path annotated =
          folder.path() / ("scan-" + std::to_string(i) + ".png");
      const std::string error = module.annotate(scan, *pages[i].findings, labels[i],
                                                Utf8FromPath(annotated), kScanPixels);
      pictures[i].scan = error.empty() ? ReadPicture(annotated) : Missing(error);
      pictures[i].sheet = sheets.Page(*pages[i].expected);
    }
  }
  const std::string html = verify::HtmlReport(scan, pages, pictures, exitStatus);
  std::ofstream out(PathFromUtf8(output), std::ios::binary | std::ios::trunc);
  out << html;
  out.close();
  if (!out) {
    return "cannot write the report " + output + ": " + std::strerror(errno);
  }
  return {};
}

}  // namespace quorvel::cli
