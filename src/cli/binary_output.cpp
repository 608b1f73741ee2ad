#include "cli/binary_output.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace quorvel::cli {

bool WriteBinary(std::FILE* stream, std::string_view bytes) {
#ifdef _WIN32
  if (_setmode(_fileno(stream), _O_BINARY) == -1) {
    return false;
  }
#endif
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stream);
  return written == bytes.size() && std::fflush(stream) == 0;
}

}  // namespace quorvel::cli
