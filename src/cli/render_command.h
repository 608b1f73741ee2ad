#pragma once

#include <filesystem>
#include <string>

namespace quorvel::cli {

/// Why this build cannot draw sheets (Windows: no zint or Qt for mingw-w64 in Debian); empty
/// when it can.
std::string RenderUnavailable();

/// Draws the expected sheet of a captured job beside it (job-000001.prn -> job-000001.png) and
/// says so on standard output; problems go to standard error. Returns false when it failed.
bool RenderBeside(const std::filesystem::path& job);

}  // namespace quorvel::cli
