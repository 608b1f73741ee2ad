#include "cli/render_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/job_source.h"
#include "cli/option_words.h"
#include "cli/output_path.h"
#include "platform/command_line/command_line.h"
#include "render/render_sheet.h"
#include "sheet/page_model.h"

namespace quorvel::cli {
namespace {

constexpr std::size_t kNotesShown = 20;

struct RenderCommandOptions {
  std::string source;
  std::string output;
  sheet::Paper paper = sheet::Paper::kA4;
  std::string dialect = "auto";
  int dpi = 300;
};

void ReportNotes(const sheet::Sheet& sheet, const render::RenderResult& result) {
  // A cut-off job's last note says so; it is said once, below, however many notes come first.
  const std::size_t count = sheet.notes.size() - (sheet.cutOff && !sheet.notes.empty() ? 1 : 0);
  for (std::size_t i = 0; i < count && i < kNotesShown; ++i) {
    std::cerr << "quorvel-cli render: note: " << sheet.notes[i].text << "\n";
  }
  if (count > kNotesShown) {
    std::cerr << "quorvel-cli render: " << count - kNotesShown
              << " more notes (quorvel-cli explain lists them by line)\n";
  }
  if (sheet.cutOff) {
    std::cerr << "quorvel-cli render: the job goes on past " << sheet::kMaxPages
              << " pages; only the first " << sheet::kMaxPages << " are drawn\n";
  }
  for (const std::string& note : result.notes) {
    std::cerr << "quorvel-cli render: " << note << "\n";
  }
  // What the sheet guesses, each reason once (explain names the items).
  for (const std::string& reason : sheet::Approximations(sheet)) {
    std::cerr << "quorvel-cli render: approximate: " << reason << "\n";
  }
}

int Draw(const std::string& job, inspect::Dialect dialect, const std::string& output,
         const render::RenderOptions& options) {
  // Only the commands that draw load the drawing (Qt and zint), and only once they draw.
  std::string loadError;
  const render::DrawingModule* drawing = platform::LoadDrawingModule(loadError);
  if (drawing == nullptr) {
    std::cerr << "quorvel-cli render: the drawing module could not be loaded: " << loadError
              << "\n";
    return kExitNoModule;
  }
  const sheet::Sheet sheet = sheet::Interpret(job, dialect, options.paper);
  const render::RenderResult result = drawing->renderSheet(sheet, output, options);
  ReportNotes(sheet, result);
  if (!result.error.empty()) {
    std::cerr << "quorvel-cli render: " << result.error << "\n";
    return kExitFailed;
  }
  for (const std::string& file : result.files) {
    std::cout << file << "\n";
  }
  return std::cout.flush() ? kExitOk : kExitFailed;
}

int RunRender(const RenderCommandOptions& options) {
  if (const std::string missing = RenderUnavailable(); !missing.empty()) {
    std::cerr << "quorvel-cli: " << missing << "\n";
    return kExitNoModule;
  }
  if (const std::optional<OutputRefusal> refusal = RenderOutputRefusal(options.output)) {
    std::cerr << "quorvel-cli render: " << refusal->words << "\n";
    return refusal->status;
  }
  std::string job;
  if (const std::string problem = LoadJob(options.source, job); !problem.empty()) {
    std::cerr << "quorvel-cli render: " << problem << "\n";
    return kExitUnreadableFile;
  }
  render::RenderOptions renderOptions;
  renderOptions.paper = options.paper;
  renderOptions.dpi = options.dpi;
  return Draw(job, DialectFor(options.source, options.dialect, job), options.output, renderOptions);
}

}  // namespace

std::string RenderUnavailable() {
  return Unavailable(platform::Features(), Feature::kRender);
}

bool RenderBeside(const std::string& job, inspect::Dialect dialect,
                  const std::filesystem::path& picture) {
  return RenderUnavailable().empty() && Draw(job, dialect, picture.string(), {}) == kExitOk;
}

void AddRenderCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RenderCommandOptions>();
  const std::string unavailable = RenderUnavailable();
  CLI::App* command = app.add_subcommand(
      "render", unavailable.empty()
                    ? "Draw the sheet a printer that understands the job prints: PNG or PDF"
                    : unavailable);
  command->add_option("job", options->source, "dot-matrix, pcl, a file, or - for standard input")
      ->required();
  command
      ->add_option("-o,--output", options->output,
                   "OUT.png (a PNG per page: OUT.png, OUT-2.png, OUT-3.png, ...) or OUT.pdf (one "
                   "document)")
      ->option_text("OUT")
      ->required();
  AddPaperOption(*command, options->paper);
  command->add_option("--dpi", options->dpi, "PNG resolution (default 300)")
      ->check(WholeNumber(36, 1200, "dots per inch"));
  command
      ->add_option("--as", options->dialect,
                   "Read the escape sequences as dot-matrix or pcl commands (default: auto)")
      ->check(OneOf({"auto", "dot-matrix", "pcl"}));
  command->callback([options, &exitCode] { exitCode = RunRender(*options); });
}

}  // namespace quorvel::cli
