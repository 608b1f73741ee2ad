#pragma once

#include <cstdio>
#include <string_view>

namespace quorvel::cli {

/// Writes `bytes` to `stream` unchanged (no newline translation on Windows). Returns false when
/// not every byte could be written.
bool WriteBinary(std::FILE* stream, std::string_view bytes);

}  // namespace quorvel::cli
