#include "common/text.h"

#include <cstdint>

namespace quorvel::text {

std::size_t Utf8Sequence(std::string_view text, std::size_t at, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<std::uint8_t>(text[at + i]) : 0U;
  };
  const unsigned lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned next = byte(i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
      return 0;
    }
  }
  codePoint = lead & (0xFFU >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    codePoint = (codePoint << 6) | (byte(i) & 0x3FU);
  }
  return length;
}

std::string EscapeMarkup(std::string_view text, const MarkupRules& rules) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    const std::size_t length = Utf8Sequence(text, at, c);
    if (length == 0) {
      out += rules.invalid;
      ++at;
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += rules.apostrophe;
        break;
      default:
        if (const std::optional<std::string> special = rules.special(c)) {
          out += *special;
        } else {
          out.append(text.substr(at, length));
        }
    }
    at += length;
  }
  return out;
}

std::string Join(const std::vector<std::string>& words, std::string_view separator) {
  std::string joined;
  for (const std::string& word : words) {
    if (!joined.empty()) {
      joined.append(separator);
    }
    joined.append(word);
  }
  return joined;
}

}  // namespace quorvel::text
