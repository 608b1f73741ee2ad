#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// Every JSON document Quorvel writes (explain's listing, check's report, the report of a run over
// many printers) is built as a Value and written by Write, in one of two layouts.
//
// Strings are written as UTF-8. A job's bytes are not text: each byte stands for the character
// of the same number (U+0000 to U+00FF). A message is read as UTF-8; each byte that breaks UTF-8
// stands for the character of the same number too. A printer's name is read as UTF-8 and each
// byte that breaks UTF-8 becomes U+FFFD; a name that is not UTF-8 also carries its exact bytes
// in a member beside it (PutName), so that two names never read the same and each can be given
// back.
namespace quorvel::json {

/// A document, its members in the order they were added.
using Value = nlohmann::ordered_json;

/// Where a string's bytes come from, which decides the characters they stand for.
enum class Bytes {
  kText,  // a name, a detail, a message: read as UTF-8
  kJob,   // bytes of a job: each byte is one character, U+0000 to U+00FF
};

/// The characters `bytes` stand for, as UTF-8 (always valid UTF-8). Text that is valid UTF-8
/// comes back unchanged; each byte that does not belong to a well-formed UTF-8 sequence becomes
/// the character of its number (0xC3 alone becomes U+00C3, written C3 83).
std::string Characters(std::string_view bytes, Bytes kind);

/// A string member holding a job's bytes, each byte one character.
Value JobText(std::string_view bytes);

/// Whether `text` is UTF-8 throughout.
bool IsUtf8(std::string_view text);

/// A name to show: read as UTF-8, each byte that breaks UTF-8 U+FFFD, the replacement character.
std::string Shown(std::string_view name);

/// A name's exact bytes in printable form: each byte that breaks UTF-8 as \xHH (two upper-case
/// hex digits), each backslash doubled, the rest as it is; bash's `printf '%b'` gives the bytes
/// back.
std::string EscapedBytes(std::string_view name);

/// Puts a printer's name into `object`: `key` holds Shown(name); when the name is not UTF-8,
/// `key` + "Bytes" follows with EscapedBytes(name).
void PutName(Value& object, const std::string& key, std::string_view name);

/// Words as one member name in the documents' single style, camelCase: "not confirmed" and
/// "pjl_id" become "notConfirmed" and "pjlId". Spaces, '-' and '_' separate the words.
std::string KeyOf(std::string_view words);

/// How a document is laid out. The layouts write numbers with a fraction with two decimals
/// (seconds to the hundredth) unless they say otherwise, and control characters, `"` and `\`
/// escaped.
struct Layout {
  std::string_view comma;  // between members and between elements
  std::string_view colon;  // between a member's name and its value
  bool asciiOnly;          // every character above U+007E written as a \u escape
  int decimals = 2;        // digits after the point of a number with a fraction
};

/// explain's listing: no spaces, ASCII only.
inline constexpr Layout kCompact{",", ":", true};
/// check's report and the report of a run: a space after each comma and colon, UTF-8.
inline constexpr Layout kSpaced{", ", ": ", false};
/// verify's report: spaced, with lengths in inches to the ten-thousandth (a module is some
/// hundredths of an inch).
inline constexpr Layout kSpacedFine{", ", ": ", false, 4};

/// `value` as JSON text. Any string in it, member names too, is read as kText on the way out,
/// so bytes that are not UTF-8 never reach the output.
std::string Write(const Value& value, const Layout& layout);

/// A member's name and the colon after it, for a document written piece by piece.
std::string Name(std::string_view name, const Layout& layout);

}  // namespace quorvel::json
