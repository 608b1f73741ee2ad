#include "inspect/byte_names.h"

#include <array>
#include <cstdio>

namespace quorvel::inspect {
namespace {

constexpr std::array<std::string_view, 32> kControlNames{
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

std::string Hex(std::uint8_t byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
  return text;
}

}  // namespace

std::string ByteName(std::uint8_t byte) {
  if (byte < kControlNames.size()) {
    return std::string(kControlNames[byte]);
  }
  if (byte == 0x7F) {
    return "DEL";
  }
  if (byte > 0x7F) {
    return Hex(byte);
  }
  return std::string(1, static_cast<char>(byte));
}

std::optional<std::uint8_t> ByteFromName(std::string_view name) {
  for (std::size_t i = 0; i < kControlNames.size(); ++i) {
    if (kControlNames[i] == name) {
      return static_cast<std::uint8_t>(i);
    }
  }
  if (name == "SP") {
    return std::uint8_t{0x20};
  }
  if (name == "DEL") {
    return std::uint8_t{0x7F};
  }
  return std::nullopt;
}

std::string ByteValue(std::uint8_t byte) {
  return std::to_string(byte) + ", " + Hex(byte);
}

std::string QuoteBytes(std::string_view bytes) {
  std::string text;
  bool inQuote = false;
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (IsPrintable(byte)) {
      if (!inQuote) {
        text += text.empty() ? "\"" : " \"";
        inQuote = true;
      }
      text += (c == '"' || c == '\\') ? std::string{'\\', c} : std::string(1, c);
      continue;
    }
    if (inQuote) {
      text += '"';
      inQuote = false;
    }
    if (!text.empty()) {
      text += ' ';
    }
    text += ByteName(byte);
  }
  if (inQuote) {
    text += '"';
  }
  return text;
}

}  // namespace quorvel::inspect
