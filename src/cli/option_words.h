#pragma once

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <optional>
#include <string>

// Option errors and help in words for people: what was given, what is taken, what to do. No
// parser's own wording ("Could not convert", "Value abc not in range") reaches the user.
namespace quorvel::cli {

/// A whole number from `least` to `most`; `what` names it ("a TCP port", "seconds").
CLI::Validator WholeNumber(long long least, long long most, const std::string& what);

/// A number of seconds above 0, fractions allowed.
CLI::Validator PositiveSeconds();

/// One of `words`, exactly.
CLI::Validator OneOf(std::initializer_list<const char*> words);

/// A test page's name; a file given instead is named for what it is.
CLI::Validator PageName(std::initializer_list<const char*> pages);

/// A numeric IPv4 or IPv6 address, as listen --bind takes it.
CLI::Validator NumericAddress();

/// Help as the program's own: an optional value shows as --wait[=SECONDS].
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* option) const override;
};

/// The words of a parse error, then where to find help.
std::string FailureMessage(const CLI::App* app, const CLI::Error& error);

/// Options given before the command: the refusal, which shows the command line in the order
/// that works; a word that is no command: the refusal; nothing when the command comes first.
std::optional<std::string> OptionsBeforeCommand(const CLI::App& app, int argc,
                                                const char* const* argv);

/// `quorvel-cli help [COMMAND]`: the commands, or one command's options and exit statuses.
void AddHelpCommand(CLI::App& app);

/// What --help of `command` ends with: the exit statuses it can end with.
std::string ExitStatusHelp(const std::string& command);

}  // namespace quorvel::cli
