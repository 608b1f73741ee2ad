#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text as the reports write it: UTF-8 read byte by byte, markup escaping, lists joined.
namespace quorvel::text {

/// The length of the well-formed UTF-8 sequence at `at` (Unicode's table of well-formed byte
/// sequences: no overlong forms, no surrogates, nothing above U+10FFFF) with its code point in
/// `codePoint`; 0 when none starts there.
std::size_t Utf8Sequence(std::string_view text, std::size_t at, char32_t& codePoint);

/// How a markup language writes what is not plain text.
struct MarkupRules {
  const char* apostrophe;  // the entity for '
  const char* invalid;     // for each byte that does not start well-formed UTF-8
  /// For any other character that cannot pass as it is, what stands for it; nullopt lets it pass.
  std::optional<std::string> (*special)(char32_t c);
};

/// `text` for markup: & < > and " as entities, ' and the rest as `rules` say.
std::string EscapeMarkup(std::string_view text, const MarkupRules& rules);

/// The words one after the other, `separator` between each two.
std::string Join(const std::vector<std::string>& words, std::string_view separator);

}  // namespace quorvel::text
