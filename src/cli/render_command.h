#pragma once

#include <filesystem>
#include <string>

#include <CLI/CLI.hpp>

#include "inspect/job_item.h"

namespace quorvel::cli {

/// Why this build cannot draw sheets (Windows: no zint or Qt for mingw-w64 in Debian); empty
/// when it can.
std::string RenderUnavailable();

/// How much `render` says on standard error besides errors: nothing, each distinct note once
/// with its count (the default), or every note with the byte it comes from and every guess.
enum class Verbosity { kQuiet, kNormal, kVerbose };

/// Adds --quiet and --verbose to `command`.
void AddVerbosityOptions(CLI::App& command, Verbosity& verbosity);

/// Draws the expected sheet of a captured `job` to `picture` (job-000001.prn -> job-000001.png)
/// and says so on standard output; problems go to standard error. Returns false when it failed.
bool RenderBeside(const std::string& job, inspect::Dialect dialect,
                  const std::filesystem::path& picture, Verbosity verbosity);

}  // namespace quorvel::cli
