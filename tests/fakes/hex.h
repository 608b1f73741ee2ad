#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::testing {

// Bytes from hex pairs separated by blanks: Hex("1B 10 41") is ESC DLE "A".
inline std::string Hex(std::string_view pairs) {
  std::string bytes;
  for (std::size_t i = 0; i < pairs.size();) {
    if (pairs[i] == ' ') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(pairs.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

// Splits a page at its CR LF pairs; a page ending in CR LF gives no empty last piece.
inline std::vector<std::string> SplitCrLf(const std::string& page) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at = page.find("\r\n"); at != std::string::npos; at = page.find("\r\n", start)) {
    lines.push_back(page.substr(start, at - start));
    start = at + 2;
  }
  if (start < page.size()) {
    lines.push_back(page.substr(start));
  }
  return lines;
}

}  // namespace quorvel::testing
