#include "common/json_text.h"

#include "common/text.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>

namespace quorvel::json {
namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0 when none starts there.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  char32_t ignored = 0;
  return text::Utf8Sequence(text, at, ignored);
}

void AppendLatin1(std::string& out, std::uint8_t byte) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
  } else {
    out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
  }
}

void AppendEscape(std::string& out, std::uint32_t unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) {
    out.push_back(kHex[(unit >> shift) & 0xF]);
  }
}

void AppendString(std::string& out, std::string_view raw, const Layout& layout) {
  const std::string text = Characters(raw, Bytes::kText);
  out.push_back('"');
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    const auto byte = static_cast<std::uint8_t>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
      ++at;
    } else if (byte < 0x20 || byte == 0x7F) {
      AppendEscape(out, byte);
      ++at;
    } else if (byte < 0x80 || !layout.asciiOnly) {
      out.push_back(c);
      ++at;
    } else {
      char32_t point = 0;
      const std::size_t length = text::Utf8Sequence(text, at, point);
      if (point > 0xFFFF) {  // a surrogate pair
        AppendEscape(out, 0xD800 + ((point - 0x10000) >> 10));
        AppendEscape(out, 0xDC00 + ((point - 0x10000) & 0x3FF));
      } else {
        AppendEscape(out, point);
      }
      at += length;
    }
  }
  out.push_back('"');
}

void AppendFraction(std::string& out, double number, int decimals) {
  char digits[64];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, number, std::chars_format::fixed, decimals);
  if (error != std::errc()) {
    throw std::invalid_argument("a number too large for a JSON report");
  }
  out.append(digits, end);
}

void Append(std::string& out, const Value& value, const Layout& layout) {
  switch (value.type()) {
    case Value::value_t::null:
      out += "null";
      return;
    case Value::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      return;
    case Value::value_t::number_integer:
      out += std::to_string(value.get<std::int64_t>());
      return;
    case Value::value_t::number_unsigned:
      out += std::to_string(value.get<std::uint64_t>());
      return;
    case Value::value_t::number_float:
      AppendFraction(out, value.get<double>(), layout.decimals);
      return;
    case Value::value_t::string:
      AppendString(out, value.get_ref<const std::string&>(), layout);
      return;
    case Value::value_t::array: {
      out.push_back('[');
      bool first = true;
      for (const Value& element : value) {
        out += first ? "" : layout.comma;
        first = false;
        Append(out, element, layout);
      }
      out.push_back(']');
      return;
    }
    case Value::value_t::object: {
      out.push_back('{');
      bool first = true;
      for (const auto& [name, member] : value.items()) {
        out += first ? "" : layout.comma;
        first = false;
        out += Name(name, layout);
        Append(out, member, layout);
      }
      out.push_back('}');
      return;
    }
    case Value::value_t::binary:
    case Value::value_t::discarded:
      break;
  }
  throw std::invalid_argument("a value JSON text cannot hold");
}

}  // namespace

std::string Characters(std::string_view bytes, Bytes kind) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = kind == Bytes::kText ? SequenceLength(bytes, at) : 0;
    if (length == 0) {
      AppendLatin1(text, static_cast<std::uint8_t>(bytes[at]));
      ++at;
    } else {
      text.append(bytes.substr(at, length));
      at += length;
    }
  }
  return text;
}

Value JobText(std::string_view bytes) {
  return Characters(bytes, Bytes::kJob);
}

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceLength(text, at);
    if (length == 0) {
      return false;
    }
    at += length;
  }
  return true;
}

namespace {

// `name` with each byte that breaks UTF-8 as `broken` writes it, the rest as it is.
template <typename Broken>
std::string EachBrokenByte(std::string_view name, Broken broken) {
  std::string out;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t length = SequenceLength(name, at);
    if (length == 0) {
      out += broken(static_cast<std::uint8_t>(name[at]));
      ++at;
    } else {
      out.append(name.substr(at, length));
      at += length;
    }
  }
  return out;
}

}  // namespace

std::string Shown(std::string_view name) {
  return EachBrokenByte(name, [](std::uint8_t) { return std::string("\xEF\xBF\xBD"); });
}

std::string EscapedBytes(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string doubled;
  for (const char c : name) {
    doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  return EachBrokenByte(doubled, [](std::uint8_t byte) {
    return std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
  });
}

void PutName(Value& object, const std::string& key, std::string_view name) {
  object[key] = Shown(name);
  if (!IsUtf8(name)) {
    object[key + "Bytes"] = EscapedBytes(name);
  }
}

std::string KeyOf(std::string_view words) {
  std::string key;
  bool upper = false;
  for (const char c : words) {
    if (c == ' ' || c == '-' || c == '_') {
      upper = !key.empty();
      continue;
    }
    key.push_back(upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    upper = false;
  }
  return key;
}

std::string Write(const Value& value, const Layout& layout) {
  std::string out;
  Append(out, value, layout);
  return out;
}

std::string Name(std::string_view name, const Layout& layout) {
  std::string out;
  AppendString(out, name, layout);
  out += layout.colon;
  return out;
}

}  // namespace quorvel::json
