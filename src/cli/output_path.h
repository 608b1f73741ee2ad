#pragma once

#include <optional>
#include <string>

namespace quorvel::cli {

/// Why a file or folder the user named for output cannot be used, and the exit status to end
/// with: a usage error (2) for a name of the wrong kind, 1 when the system will not write there.
struct OutputRefusal {
  int status;
  std::string words;  // says what was given, what is expected and what to do
};

/// render -o OUT: a file name ending .png or .pdf in a folder that can be written.
std::optional<OutputRefusal> RenderOutputRefusal(const std::string& output);

/// listen --out DIR: a folder, made (with its parents) when missing.
std::optional<OutputRefusal> MakeOutputFolder(const std::string& folder);

}  // namespace quorvel::cli
