#pragma once

#include <filesystem>
#include <string>

#include "inspect/job_item.h"

namespace quorvel::cli {

/// Why this build cannot draw sheets (Windows: no zint or Qt for mingw-w64 in Debian); empty
/// when it can.
std::string RenderUnavailable();

/// Draws the expected sheet of a captured `job` to `picture` (job-000001.prn -> job-000001.png)
/// and says so on standard output; problems go to standard error. Returns false when it failed.
bool RenderBeside(const std::string& job, inspect::Dialect dialect,
                  const std::filesystem::path& picture);

}  // namespace quorvel::cli
