#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::inspect {

/// The ASCII name of a control byte ("NUL", "SOH", ... "US", "DEL"); "0xNN" for bytes above 127;
/// the character itself for printable bytes.
std::string ByteName(std::uint8_t byte);

/// True for the bytes shown as text: space to tilde.
inline bool IsPrintable(std::uint8_t byte) {
  return byte >= 0x20 && byte <= 0x7E;
}

/// The byte an ASCII control name stands for ("ESC" -> 27, "SP" -> 32), or nothing.
std::optional<std::uint8_t> ByteFromName(std::string_view name);

/// "27, 0x1B": a byte's value in decimal and hexadecimal.
std::string ByteValue(std::uint8_t byte);

/// Bytes as a reader of a printer manual writes them: control bytes by name, runs of printable
/// bytes in double quotes, separated by spaces: ESC DLE "A".
std::string QuoteBytes(std::string_view bytes);

}  // namespace quorvel::inspect
