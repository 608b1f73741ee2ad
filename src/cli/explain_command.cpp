#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/job_source.h"
#include "cli/option_words.h"
#include "inspect/listing.h"
#include "sheet/listing_notes.h"
#include "sheet/page_model.h"

namespace quorvel::cli {
namespace {

struct ExplainOptions {
  std::string source;  // dot-matrix, pcl, a file, or - for standard input
  std::string format = "text";
  std::string dialect = "auto";
  int columns = sheet::kNarrowColumns;
};

int RunExplain(const ExplainOptions& options) {
  std::string job;
  if (const std::string problem = LoadJob(options.source, job); !problem.empty()) {
    std::cerr << "quorvel-cli explain: " << problem << "\n";
    return kExitUnreadableFile;
  }
  const inspect::Dialect dialect = DialectFor(options.source, options.dialect, job);
  inspect::Listing listing = inspect::Explain(job, dialect);
  sheet::AddSheetNotes(listing, sheet::Interpret(job, dialect, sheet::Paper::kA4, options.columns));
  const std::string text =
      options.format == "json" ? inspect::FormatJson(listing) : inspect::FormatText(listing);
  std::cout << text << std::flush;
  return std::cout ? kExitOk : kExitFailed;
}

}  // namespace

void AddExplainCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExplainOptions>();
  CLI::App* command = app.add_subcommand(
      "explain", "Decode a job line by line: one of the test pages, a captured file, or - (stdin)");
  command->add_option("job", options->source, "dot-matrix, pcl, a file, or - for standard input")
      ->required();
  command->add_option("--format", options->format, "text (default) or json")
      ->check(OneOf({"text", "json"}));
  command
      ->add_option("--as", options->dialect,
                   "Read the escape sequences as dot-matrix or pcl commands (default: auto)")
      ->check(OneOf({"auto", "dot-matrix", "pcl"}));
  AddColumnsOption(*command, options->columns);
  command->callback([options, &exitCode] { exitCode = RunExplain(*options); });
}

}  // namespace quorvel::cli
