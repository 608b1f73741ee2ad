// quorvel-cli verify SCAN: block by block, whether the printer printed the sheet its bytes ask
// for. The reading of the scan (Qt, zbar, poppler) is the scan module's; the verdicts are the
// core's (src/verify); this file wires the options and prints.

#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/job_source.h"
#include "cli/option_words.h"
#include "cli/verify_report_file.h"
#include "platform/command_line/command_line.h"
#include "sheet/page_model.h"
#include "verify/expected_blocks.h"
#include "verify/scan_findings.h"
#include "verify/verify_report.h"

namespace quorvel::cli {
namespace {

struct VerifyOptions {
  std::string scan;
  std::string page = "auto";
  sheet::Paper paper = sheet::Paper::kA4;
  int columns = sheet::kNarrowColumns;
  std::string format = "text";
  std::string report;
  std::string annotate;
};

// The sheets the scan may show: the one --page names, or both test pages. A scan of the other
// test page than the one named is told apart, so the named sheet's pages come first (a scan
// that fits both equally is taken for the named one); `named` counts them.
bool Candidates(const VerifyOptions& options, verify::ScanRequest& request, std::size_t& named) {
  const sheet::Paper paper = options.paper;
  const std::string dotMatrix(PageOf(PageKind::kDotMatrix).name);
  const std::string pcl(PageOf(PageKind::kPcl).name);
  std::vector<std::string> sources{options.page};
  if (options.page == "auto") {
    sources = {dotMatrix, pcl};
  }
  const std::size_t namedSources = sources.size();
  for (const std::string& other : {dotMatrix, pcl}) {
    if (options.page != "auto" && other != options.page) {
      sources.push_back(other);
    }
  }
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const std::string& source = sources[i];
    std::string job;
    if (const std::string problem = LoadJob(source, job); !problem.empty()) {
      std::cerr << "quorvel-cli verify: --page: " << problem
                << " (the scan comes first: quorvel-cli verify SCAN --page JOB)\n";
      return false;
    }
    const sheet::Sheet sheet =
        sheet::Interpret(job, DialectFor(source, "auto", job), paper, options.columns);
    for (verify::ExpectedPage& page : verify::ExpectedPages(sheet, source, paper)) {
      request.candidates.push_back(std::move(page));
    }
    if (i + 1 == namedSources) {
      named = request.candidates.size();
    }
  }
  return true;
}

int Judge(const verify::ScanModule& module, const VerifyOptions& options,
          const verify::ScanRequest& request, const verify::ScanFindings& findings,
          std::size_t named) {
  std::vector<verify::PageResult> pages;
  bool differs = false;
  bool otherSheet = false;
  for (const verify::PageFindings& page : findings.pages) {
    if (page.expected >= 0 && static_cast<std::size_t>(page.expected) >= named) {
      const std::string& shown = request.candidates[static_cast<std::size_t>(page.expected)].sheet;
      std::cerr << "quorvel-cli verify: " << options.scan << " page " << page.page + 1 << " is the "
                << shown << " test page's sheet, not the sheet of " << options.page
                << " that --page names: run verify with --page " << shown << "\n";
      differs = otherSheet = true;
      continue;
    }
    if (page.expected < 0) {
      std::cerr << "quorvel-cli verify: " << options.scan << " page " << page.page + 1
                << " does not look like a Quorvel sheet: neither its symbols nor its printed "
                   "lines are where the sheet has them\n";
      differs = true;
      continue;
    }
    const verify::ExpectedPage& expected =
        request.candidates[static_cast<std::size_t>(page.expected)];
    pages.push_back({&page, &expected, verify::JudgePage(expected, page)});
    differs = differs || verify::AnyDifference(pages.back().blocks);
  }
  if (pages.empty()) {
    return otherSheet ? kExitSheetDiffers : kExitUnreadableFile;
  }
  const int status = differs ? kExitSheetDiffers : kExitOk;
  std::cout << (options.format == "json" ? verify::JsonReport(options.scan, pages, status)
                                         : verify::TextReport(options.scan, pages));
  if (!options.annotate.empty()) {
    const std::string error = module.annotate(options.scan, *pages.front().findings,
                                              verify::LabelsOf(pages.front()), options.annotate, 0);
    if (!error.empty()) {
      std::cerr << "quorvel-cli verify: " << error << "\n";
      return kExitUnreadableFile;
    }
  }
  if (!options.report.empty()) {
    std::vector<std::vector<verify::Label>> labels;
    for (const verify::PageResult& page : pages) {
      labels.push_back(verify::LabelsOf(page));
    }
    const std::string error =
        WriteReportFile(module, options.scan, pages, labels, {options.paper, options.columns},
                        status, options.report);
    if (!error.empty()) {
      std::cerr << "quorvel-cli verify: " << error << "\n";
      return kExitUnreadableFile;
    }
  }
  return std::cout.flush() ? status : kExitUnreadableFile;
}

int RunVerify(const VerifyOptions& options) {
  if (const std::string missing = Unavailable(platform::Features(), Feature::kVerify);
      !missing.empty()) {
    std::cerr << "quorvel-cli: " << missing << "\n";
    return kExitNoModule;
  }
  if (!options.report.empty() && !platform::Features().render) {
    std::cerr << "quorvel-cli verify: --report: "
              << Unavailable(platform::Features(), Feature::kRender) << "\n";
    return kExitNoModule;
  }
  verify::ScanRequest request;
  std::size_t named = 0;
  if (!Candidates(options, request, named)) {
    return kExitUnreadableFile;
  }
  std::string loadError;
  const verify::ScanModule* module = platform::LoadScanModule(loadError);
  if (module == nullptr) {
    std::cerr << "quorvel-cli verify: the scan module could not be loaded: " << loadError << "\n";
    return kExitNoModule;
  }
  const verify::ScanFindings findings = module->readScan(options.scan, request);
  if (!findings.error.empty()) {
    std::cerr << "quorvel-cli verify: " << options.scan << ": " << findings.error << "\n";
    return kExitUnreadableFile;
  }
  return Judge(*module, options, request, findings, named);
}

}  // namespace

void AddVerifyCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<VerifyOptions>();
  const std::string missing = Unavailable(platform::Features(), Feature::kVerify);
  CLI::App* command = app.add_subcommand(
      "verify", missing.empty() ? "Check a scan of a printed test page, block by block, against "
                                  "the expected sheet"
                                : missing);
  command
      ->add_option("scan", options->scan,
                   platform::Features().pdf
                       ? "PNG, JPEG, WebP, HEIC, TIFF, BMP or PDF scan or photo of the sheet"
                       : "PNG, JPEG, WebP, HEIC, TIFF or BMP scan or photo of the sheet")
      ->required();
  command->add_option("--page", options->page,
                      "dot-matrix, pcl, or a job file whose sheet the scan shows (default: the "
                      "test page that fits)");
  AddPaperOption(*command, options->paper);
  AddColumnsOption(*command, options->columns);
  command->add_option("--format", options->format, "text (default) or json")
      ->check(OneOf({"text", "json"}));
  command->add_option("--annotate", options->annotate,
                      "OUT.png: the scan with each block outlined in its verdict's colour");
  command->add_option("--report", options->report,
                      "OUT.html: one self-contained page with the annotated scan beside the "
                      "expected sheet, the verdicts, the grades and what each verdict means");
  command->callback([options, &exitCode] { exitCode = RunVerify(*options); });
}

}  // namespace quorvel::cli
