#pragma once

#include <string_view>

namespace quorvel::inspect {

/// What a PCL parameterised command does, from its parameterised character, group character
/// (0 when it has none) and parameter character in upper case: ('&', 'l', 'O') -> "orientation".
/// Empty when the command is not in the table.
std::string_view PclCommandName(char parameterised, char group, char parameter);

/// The name of a PCL symbol set by its identifier ("10U" -> "PC-8"); empty when unknown.
std::string_view SymbolSetName(std::string_view id);

/// What a two-character PCL command (ESC and one character) does; empty when unknown.
std::string_view PclTwoCharacterName(char command);

}  // namespace quorvel::inspect
