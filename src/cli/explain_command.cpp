#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "inspect/listing.h"
#include "sheet/listing_notes.h"
#include "sheet/page_model.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace quorvel::cli {
namespace {

struct ExplainOptions {
  std::string source;  // dot-matrix, pcl, a file, or - for standard input
  std::string format = "text";
  std::string dialect = "auto";
};

// Reads the whole job from a file or, for "-", from standard input, byte for byte.
bool ReadJob(const std::string& source, std::string& job) {
  if (source == "-") {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::ostringstream bytes;
    bytes << std::cin.rdbuf();
    job = bytes.str();
    return !std::cin.bad();
  }
  std::ifstream file(source, std::ios::binary);
  if (!file) {
    return false;
  }
  job.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

inspect::Dialect ChooseDialect(const ExplainOptions& options, std::string_view job) {
  if (options.dialect == "pcl" || (options.dialect == "auto" && options.source == "pcl")) {
    return inspect::Dialect::kPcl;
  }
  if (options.dialect == "dot-matrix" || options.source == "dot-matrix") {
    return inspect::Dialect::kDotMatrix;
  }
  return inspect::GuessDialect(job);
}

int RunExplain(const ExplainOptions& options) {
  std::string job;
  if (options.source == "dot-matrix" || options.source == "pcl") {
    job = ComposeJob(ComposerFor(options.source));
  } else if (!ReadJob(options.source, job)) {
    std::cerr << "quorvel-cli: cannot read " << options.source << "\n";
    return 1;
  }
  const inspect::Dialect dialect = ChooseDialect(options, job);
  inspect::Listing listing = inspect::Explain(job, dialect);
  sheet::AddSheetNotes(listing, sheet::Interpret(job, dialect));
  const std::string text =
      options.format == "json" ? inspect::FormatJson(listing) : inspect::FormatText(listing);
  std::cout << text << std::flush;
  return std::cout ? kExitOk : 1;
}

}  // namespace

void AddExplainCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExplainOptions>();
  CLI::App* command = app.add_subcommand(
      "explain", "Decode a job line by line: one of the test pages, a captured file, or - (stdin)");
  command->add_option("job", options->source, "dot-matrix, pcl, a file, or - for standard input")
      ->required();
  command->add_option("--format", options->format, "text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  command
      ->add_option("--as", options->dialect,
                   "Read the escape sequences as dot-matrix or pcl commands (default: auto)")
      ->check(CLI::IsMember({"auto", "dot-matrix", "pcl"}));
  command->callback([options, &exitCode] { exitCode = RunExplain(*options); });
}

}  // namespace quorvel::cli
