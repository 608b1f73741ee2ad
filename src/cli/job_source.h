#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "inspect/job_item.h"
#include "sheet/page_model.h"

namespace quorvel::cli {

/// Loads a job: "dot-matrix" or "pcl" compose that test page (with its form feed), "-" reads
/// standard input, anything else names a file. Returns what keeps `source` from being a job, in
/// words that say what it is, what is expected and what to do; empty when `job` holds it.
std::string LoadJob(const std::string& source, std::string& job);

/// Reads the job in `file` byte for byte; false when it cannot be read.
bool ReadJobFile(const std::filesystem::path& file, std::string& job);

/// The dialect to read `job` in: `as` ("auto", "dot-matrix" or "pcl") wins; "auto" takes the
/// test page's own, or guesses from the bytes.
inspect::Dialect DialectFor(const std::string& source, const std::string& as, std::string_view job);

/// Adds --paper (a4, the default, or letter) to `command`, read into `paper` as it is parsed.
CLI::Option* AddPaperOption(CLI::App& command, sheet::Paper& paper);

/// Adds --columns (80, the default, or 136 for a wide-carriage dot-matrix printer).
CLI::Option* AddColumnsOption(CLI::App& command, int& columns);

}  // namespace quorvel::cli
