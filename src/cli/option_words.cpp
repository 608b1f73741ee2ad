#include "cli/option_words.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "common/exit_status.h"
#include "common/text.h"
#include "common/utf8_path.h"
#include "inspect/document_kind.h"
#include "platform/net/socket.h"

namespace quorvel::cli {
namespace {

std::string Listed(std::initializer_list<const char*> words) {
  std::vector<std::string> list(words.begin(), words.end());
  const std::string last = list.back();
  list.pop_back();
  return list.empty() ? last : text::Join(list, ", ") + " or " + last;
}

// The first bytes of `path` when it names a file that can be read; empty otherwise.
std::string Head(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  char bytes[16] = {};
  in.read(bytes, sizeof bytes);
  return std::string(bytes, static_cast<std::size_t>(in.gcount()));
}

}  // namespace

CLI::Validator WholeNumber(long long least, long long most, const std::string& what) {
  return CLI::Validator(
      [=](std::string& input) -> std::string {
        long long value = 0;
        const char* end = input.data() + input.size();
        const auto [stop, error] = std::from_chars(input.data(), end, value);
        const std::string range = std::to_string(least) + " to " + std::to_string(most);
        if (input.empty() || error != std::errc() || stop != end) {
          return "\"" + input + "\" is not a whole number: give " + what + ", " + range;
        }
        if (value < least || value > most) {
          return input + " is out of range: give " + what + ", " + range;
        }
        return {};
      },
      "");
}

CLI::Validator PositiveSeconds() {
  return CLI::Validator(
      [](std::string& input) -> std::string {
        double value = 0;
        const char* end = input.data() + input.size();
        const auto [stop, error] = std::from_chars(input.data(), end, value);
        if (input.empty() || error != std::errc() || stop != end || !(value > 0)) {
          return "\"" + input + "\" is not a number of seconds above 0: give one such as 30 or 0.5";
        }
        return {};
      },
      "");
}

CLI::Validator OneOf(std::initializer_list<const char*> words) {
  const std::vector<std::string> taken(words.begin(), words.end());
  const std::string listed = Listed(words);
  return CLI::Validator(
      [=](std::string& input) -> std::string {
        for (const std::string& word : taken) {
          if (input == word) {
            return {};
          }
        }
        return "\"" + input + "\" is not taken: give " + listed;
      },
      "");
}

CLI::Validator PageName(std::initializer_list<const char*> pages) {
  const CLI::Validator oneOf = OneOf(pages);
  const std::string listed = Listed(pages);
  return CLI::Validator(
      [=](std::string& input) -> std::string {
        std::string refused = oneOf(input);
        if (refused.empty()) {
          return {};
        }
        const std::string head = Head(input);
        if (const std::string_view kind = inspect::DocumentKind(head); !kind.empty()) {
          return input + " is " + std::string(kind) + ", not a test page: give " + listed +
                 "; to check a scan or photo of a printed sheet, use quorvel-cli verify " + input;
        }
        if (!head.empty()) {
          return input + " is a file, not a test page: give " + listed +
                 "; to decode a job file, use quorvel-cli explain " + input;
        }
        return "\"" + input + "\" is not a test page: give " + listed;
      },
      "");
}

CLI::Validator NumericAddress() {
  return CLI::Validator(
      [](std::string& input) -> std::string {
        return net::IsNumericAddress(input)
                   ? std::string()
                   : "\"" + input +
                         "\" is not a numeric address: give one such as 127.0.0.1, 0.0.0.0 or ::1";
      },
      "");
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const {
  const std::string& text = option->get_option_text();
  if (!text.empty() && text.front() == '[') {
    return text;  // --wait[=SECONDS]: the value may be left out
  }
  // Each value named as the manual page names it, not by its type in the program.
  static const std::map<std::string, std::string> kValues{
      {"printer", "NAME"},     {"to", "TARGET"},      {"server", "HOST[:PORT]"},
      {"jobs", "N"},           {"format", "FORMAT"},  {"as", "DIALECT"},
      {"paper", "PAPER"},      {"dpi", "N"},          {"port", "N"},
      {"bind", "ADDRESS"},     {"out", "DIR"},        {"port-file", "FILE"},
      {"max-bytes", "N"},      {"idle", "SECONDS"},   {"max-connections", "N"},
      {"device-id", "ID"},     {"snmp-port", "N"},    {"page", "SHEET"},
      {"annotate", "OUT.png"}, {"report", "OUT.html"}};
  const std::vector<std::string>& names = option->get_lnames();
  if (text.empty() && !names.empty()) {
    if (const auto value = kValues.find(names.front()); value != kValues.end()) {
      return " " + value->second;
    }
  }
  return CLI::Formatter::make_option_opts(option);
}

std::string FailureMessage(const CLI::App* app, const CLI::Error& error) {
  std::string command = "quorvel-cli";
  if (const std::vector<CLI::App*> chosen = app->get_subcommands(); !chosen.empty()) {
    command += " " + chosen.front()->get_name();
  }
  std::string words = error.what();
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    words = words.substr(0, words.find(':')) + " needs a value";  // "1 required TEXT missing"
  } else if (words == "A subcommand is required") {
    words = "a command is needed: quorvel-cli help lists them";
  }
  return command + ": " + words + "\nSee " + command + " --help.\n";
}

std::optional<std::string> OptionsBeforeCommand(const CLI::App& app, int argc,
                                                const char* const* argv) {
  std::vector<std::string> before;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--help" || word == "-h" || word == "--version") {
      return std::nullopt;
    }
    const CLI::App* command = nullptr;
    try {
      command = app.get_subcommand(word);
    } catch (const CLI::OptionNotFound&) {
    }
    if (command != nullptr) {
      if (before.empty()) {
        return std::nullopt;
      }
      std::string line = "quorvel-cli";
      for (int j = i; j < argc; ++j) {
        line += std::string(" ") + argv[j];
      }
      line += " " + text::Join(before, " ");
      return text::Join(before, " ") + ": the options come after the command: " + line;
    }
    before.push_back(word);
  }
  for (const std::string& word : before) {
    if (!word.empty() && word.front() != '-') {
      return "\"" + word + "\" is not a command: quorvel-cli help lists them";
    }
  }
  return std::nullopt;
}

void AddHelpCommand(CLI::App& app) {
  CLI::App* help = app.add_subcommand("help", "Print the commands, or a command's options");
  auto name = std::make_shared<std::string>();
  help->add_option("command", *name, "The command whose options and exit statuses to print");
  help->callback([&app, name] {
    if (name->empty()) {
      std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
      return;
    }
    const CLI::App* command = nullptr;
    try {
      command = app.get_subcommand(*name);
    } catch (const CLI::OptionNotFound&) {
      throw CLI::ValidationError("\"" + *name + "\" is not a command: quorvel-cli help lists them");
    }
    std::cout << command->help(app.get_name());
  });
}

std::string ExitStatusHelp(const std::string& command) {
  std::string text = "Exit status:";
  for (const ExitStatusRow& row : kExitStatuses) {
    if (command.empty() || EndsWith(row, command)) {
      text += "\n  " + std::to_string(row.status) + "  " + row.meaning;
    }
  }
  return text;
}

}  // namespace quorvel::cli
