#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/option_words.h"
#include "platform/command_line/command_line.h"
#include "quorvel_version.h"

namespace {

// The arguments as UTF-8, with /? read as --help, as Windows programs read it.
std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> arguments = quorvel::platform::Utf8Arguments(argc, argv);
  for (std::string& argument : arguments) {
    if (argument == "/?") {
      argument = "--help";
    }
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  quorvel::platform::ForwardConsoleInterrupts();
  const std::vector<std::string> arguments = Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) {
    pointers.push_back(argument.c_str());
  }
  CLI::App app{"Quorvel: sends raw barcode test pages to printers", "quorvel-cli"};
  // Options are --long and -s everywhere: on Windows, CLI11 would also take /NAME for an option,
  // and a path such as /temp/job.prn would be lost as one. Each command takes this from here.
  app.allow_windows_style_options(false);
  // Set before the commands are added: each command takes its parent's.
  app.formatter(std::make_shared<quorvel::cli::HelpFormatter>());
  app.failure_message(quorvel::cli::FailureMessage);
  app.set_version_flag("--version", QUORVEL_VERSION_TEXT, "Print the program's version and exit");
  app.require_subcommand(1);
  app.footer(quorvel::cli::ExitStatusHelp(""));
  int exitCode = quorvel::kExitOk;
  quorvel::cli::AddDumpCommand(app, exitCode);
  quorvel::cli::AddExplainCommand(app, exitCode);
  quorvel::cli::AddHelpCommand(app);
  quorvel::cli::AddListenCommand(app, exitCode);
  quorvel::cli::AddPrintersCommand(app, exitCode);
  quorvel::cli::AddPrintCommand(app, exitCode);
  quorvel::cli::AddRenderCommand(app, exitCode);
  quorvel::cli::AddCheckCommand(app, exitCode);
  quorvel::cli::AddVerifyCommand(app, exitCode);
  // Each command's help ends with the statuses it can give (a command takes its parent's footer
  // when it is added).
  for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    command->footer(quorvel::cli::ExitStatusHelp(command->get_name()));
  }
  if (const auto misplaced = quorvel::cli::OptionsBeforeCommand(
          app, static_cast<int>(pointers.size()), pointers.data())) {
    std::cerr << "quorvel-cli: " << *misplaced << "\n";
    return quorvel::kExitUsage;
  }
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& e) {
    const int parseStatus = app.exit(e, std::cout, std::cerr);
    return parseStatus == 0 ? quorvel::kExitOk : quorvel::kExitUsage;
  } catch (const std::exception& e) {
    // A command's own failures are reported by the command; this is the last resort, so that no
    // error ends the program without a word.
    std::cerr << "quorvel-cli: " << e.what() << "\n";
    return quorvel::kExitFailed;
  }
  return exitCode;
}
