#include "cli/render_command.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "cli/job_source.h"
#include "cli/option_words.h"
#include "cli/output_path.h"
#include "common/utf8_path.h"
#include "platform/command_line/command_line.h"
#include "render/render_sheet.h"
#include "sheet/page_model.h"

namespace quorvel::cli {
namespace {

struct RenderCommandOptions {
  std::string source;
  std::string output;
  sheet::Paper paper = sheet::Paper::kA4;
  int columns = sheet::kNarrowColumns;
  std::string dialect = "auto";
  int dpi = 300;
  Verbosity verbosity = Verbosity::kNormal;
};

// Each distinct note once, in the order they first come, with how often it came.
std::vector<std::pair<std::string, std::size_t>> CountedNotes(const std::vector<sheet::Note>& notes,
                                                              std::size_t count) {
  std::vector<std::pair<std::string, std::size_t>> counted;
  for (std::size_t i = 0; i < count; ++i) {
    auto same = std::find_if(counted.begin(), counted.end(),
                             [&](const auto& entry) { return entry.first == notes[i].text; });
    if (same == counted.end()) {
      counted.emplace_back(notes[i].text, 1);
    } else {
      ++same->second;
    }
  }
  return counted;
}

void ReportNotes(const sheet::Sheet& sheet, const render::RenderResult& result,
                 Verbosity verbosity) {
  if (verbosity == Verbosity::kQuiet) {
    return;
  }
  // A cut-off job's last note says so; it is said once, below, however many notes come first.
  const std::size_t count = sheet.notes.size() - (sheet.cutOff && !sheet.notes.empty() ? 1 : 0);
  if (verbosity == Verbosity::kVerbose) {
    for (std::size_t i = 0; i < count; ++i) {
      std::cerr << "quorvel-cli render: note: byte " << sheet.notes[i].bytes.offset << ": "
                << sheet.notes[i].text << "\n";
    }
  } else {
    for (const auto& [text, times] : CountedNotes(sheet.notes, count)) {
      std::cerr << "quorvel-cli render: note: " << text
                << (times > 1 ? " (" + std::to_string(times) + " times)" : "") << "\n";
    }
  }
  if (sheet.cutOff) {
    std::cerr << "quorvel-cli render: the job goes on past " << sheet::kMaxPages
              << " pages; only the first " << sheet::kMaxPages << " are drawn\n";
  }
  for (const std::string& note : result.notes) {
    std::cerr << "quorvel-cli render: " << note << "\n";
  }
  // What the sheet guesses, each reason once (explain names the items).
  const std::vector<std::string> guesses = sheet::Approximations(sheet);
  if (verbosity == Verbosity::kVerbose) {
    for (const std::string& reason : guesses) {
      std::cerr << "quorvel-cli render: approximate: " << reason << "\n";
    }
  } else if (!guesses.empty()) {
    std::cerr << "quorvel-cli render: " << guesses.size()
              << (guesses.size() == 1 ? " item rests" : " items rest")
              << " on a guess (--verbose names them)\n";
  }
}

int Draw(const std::string& job, inspect::Dialect dialect, const std::string& output,
         const render::RenderOptions& options, int columns, Verbosity verbosity) {
  // Only the commands that draw load the drawing (Qt and zint), and only once they draw.
  std::string loadError;
  const render::DrawingModule* drawing = platform::LoadDrawingModule(loadError);
  if (drawing == nullptr) {
    std::cerr << "quorvel-cli render: the drawing module could not be loaded: " << loadError
              << "\n";
    return kExitNoModule;
  }
  const sheet::Sheet sheet = sheet::Interpret(job, dialect, options.paper, columns);
  const render::RenderResult result = drawing->renderSheet(sheet, output, options);
  ReportNotes(sheet, result, verbosity);
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
  return Draw(job, DialectFor(options.source, options.dialect, job), options.output, renderOptions,
              options.columns, options.verbosity);
}

}  // namespace

std::string RenderUnavailable() {
  return Unavailable(platform::Features(), Feature::kRender);
}

bool RenderBeside(const std::string& job, inspect::Dialect dialect,
                  const std::filesystem::path& picture, Verbosity verbosity) {
  return RenderUnavailable().empty() &&
         Draw(job, dialect, Utf8FromPath(picture), {}, sheet::kNarrowColumns, verbosity) == kExitOk;
}

void AddVerbosityOptions(CLI::App& command, Verbosity& verbosity) {
  CLI::Option* quiet = command.add_flag_callback(
      "--quiet", [&verbosity] { verbosity = Verbosity::kQuiet; },
      "Say nothing but errors on standard error");
  command
      .add_flag_callback(
          "--verbose", [&verbosity] { verbosity = Verbosity::kVerbose; },
          "Say every note with the byte it comes from, and every guess the sheet rests on")
      ->excludes(quiet);
}

void AddRenderCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RenderCommandOptions>();
  const std::string unavailable = RenderUnavailable();
  const bool pdf = platform::Features().pdf;
  CLI::App* command = app.add_subcommand(
      "render", unavailable.empty() ? std::string("Draw the sheet a printer that understands the "
                                                  "job prints: ") +
                                          (pdf ? "PNG or PDF" : "PNG")
                                    : unavailable);
  command->add_option("job", options->source, "dot-matrix, pcl, a file, or - for standard input")
      ->required();
  command
      ->add_option("-o,--output", options->output,
                   std::string("OUT.png (a PNG per page: OUT.png, OUT-2.png, OUT-3.png, ...)") +
                       (pdf ? " or OUT.pdf (one document)" : ""))
      ->option_text("OUT")
      ->required();
  AddPaperOption(*command, options->paper);
  AddColumnsOption(*command, options->columns);
  AddVerbosityOptions(*command, options->verbosity);
  command->add_option("--dpi", options->dpi, "PNG resolution (default 300)")
      ->check(WholeNumber(36, 1200, "dots per inch"));
  command
      ->add_option("--as", options->dialect,
                   "Read the escape sequences as dot-matrix or pcl commands (default: auto)")
      ->check(OneOf({"auto", "dot-matrix", "pcl"}));
  command->callback([options, &exitCode] { exitCode = RunRender(*options); });
}

}  // namespace quorvel::cli
