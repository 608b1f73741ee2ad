#include "cli/cli_messages.h"

#include <cstdio>

namespace quorvel::cli {

void StreamMessageDisplay::Show(std::string_view text) {
  std::FILE* stream = text == kExecuted ? stdout : stderr;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

void TextComboBox::Select(std::size_t index) {
  text_ = entries_.at(index);
  selected_ = index;
}

}  // namespace quorvel::cli
