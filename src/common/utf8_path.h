#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// File names as the program carries them: UTF-8 text from the command line in, UTF-8 text in
// messages and reports out. A path is never made from a plain std::string, which a Windows
// build reads in the ANSI code page.
namespace quorvel {

/// The path named by UTF-8 `text` (on POSIX the bytes as they are, UTF-8 or not).
std::filesystem::path PathFromUtf8(std::string_view text);

/// `path` as UTF-8 text (on POSIX its bytes as they are).
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace quorvel
