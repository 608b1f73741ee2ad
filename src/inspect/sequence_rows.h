#pragma once

#include <string>
#include <vector>

#include "inspect/sequence_check.h"

namespace quorvel::inspect {

/// The rows set beside a spelled-out sequence: what the text names, what was sent, a marker
/// under every difference (^ differs, + sent but not named, - named but not sent), and one row
/// per difference with the byte values.
std::vector<std::string> SequenceRows(const SequenceCheck& check);

/// A byte for a reader: its name or quoted character, with its value ("DLE (16, 0x10)").
std::string DescribeByte(std::uint8_t byte);

}  // namespace quorvel::inspect
