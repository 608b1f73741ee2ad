#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "inspect/job_item.h"

namespace quorvel::cli {

/// Loads a job: "dot-matrix" or "pcl" compose that test page (with its form feed), "-" reads
/// standard input, anything else names a file. Returns false when it cannot be read.
bool LoadJob(const std::string& source, std::string& job);

/// Reads the job in `file` byte for byte; false when it cannot be read.
bool ReadJobFile(const std::filesystem::path& file, std::string& job);

/// The dialect to read `job` in: `as` ("auto", "dot-matrix" or "pcl") wins; "auto" takes the
/// test page's own, or guesses from the bytes.
inspect::Dialect DialectFor(const std::string& source, const std::string& as, std::string_view job);

}  // namespace quorvel::cli
