#include "cli/cli_messages.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "app/printers.h"
#include "common/text.h"
#include "platform/command_line/command_line.h"

namespace quorvel::cli {

void StreamMessageDisplay::Show(std::string_view text) {
  std::FILE* stream = text == kExecuted ? stdout : stderr;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  if (text == kNotRecognized && hint_) {
    std::fprintf(stream, "%s\n", NotRecognizedHint(typed_).c_str());
  }
  std::fflush(stream);
}

std::string NotRecognizedHint(const std::optional<std::string>& typed) {
  constexpr const char* kList = "quorvel-cli printers lists them";
  if (!typed) {
    return std::string("No --printer was given and there is no default printer: name one (") +
           kList + ").";
  }
  std::vector<std::string> installed;
  try {
    installed = platform::SystemPrinters().MakePrinterList()->DeviceNames();
  } catch (const std::exception&) {
    // The list could not be read: the name alone is still worth saying.
  }
  std::string line = "\"" + *typed + "\" is not the name of an installed printer";
  if (installed.empty()) {
    return line + " (" + kList + ").";
  }
  std::vector<std::string> closest = ClosestNames(*typed, installed);
  for (std::string& name : closest) {
    name = "\"" + name + "\"";
  }
  return line + "; the closest: " + text::Join(closest, ", ") + " (" + kList + " all).";
}

void TextComboBox::Select(std::size_t index) {
  text_ = entries_.at(index);
  selected_ = index;
}

}  // namespace quorvel::cli
