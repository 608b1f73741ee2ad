#include <cstdio>
#include <memory>
#include <string>

#include "cli/binary_output.h"
#include "cli/commands.h"

namespace quorvel::cli {
namespace {

struct DumpOptions {
  std::string page;
};

int RunDump(const DumpOptions& options) {
  const PageText job = ComposeJob(PageNamed(options.page)->compose);
  if (!WriteBinary(stdout, job)) {
    std::perror("quorvel-cli: writing to standard output");
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* command =
      app.add_subcommand("dump", "Write a test job's exact bytes (page and form feed) to stdout");
  AddPageArgument(*command, options->page);
  command->callback([options, &exitCode] { exitCode = RunDump(*options); });
}

}  // namespace quorvel::cli
