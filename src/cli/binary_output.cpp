#include "cli/binary_output.h"

#include "platform/command_line/command_line.h"

namespace quorvel::cli {

bool WriteBinary(std::FILE* stream, std::string_view bytes) {
  if (!platform::MakeBinary(stream)) {
    return false;
  }
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stream);
  return written == bytes.size() && std::fflush(stream) == 0;
}

}  // namespace quorvel::cli
