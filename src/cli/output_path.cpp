#include "cli/output_path.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/exit_status.h"
#include "common/utf8_path.h"

namespace quorvel::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRenderOutputs =
    "give OUT.png (one PNG per page: OUT.png, OUT-2.png, OUT-3.png, ...) or OUT.pdf";

std::string LowerEnding(const std::string& name) {
  std::string ending = Utf8FromPath(PathFromUtf8(name).extension());
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending;
}

// Whether the system lets `file` be written: opened for appending, so nothing there is lost,
// and removed again when it was not there before.
std::optional<std::string> WriteRefused(const std::string& file) {
  std::error_code error;
  const fs::path path = PathFromUtf8(file);
  const bool existed = fs::exists(path, error);
  errno = 0;
  if (!std::ofstream(path, std::ios::binary | std::ios::app)) {
    const int reason = errno;
    return reason != 0 ? std::string(std::strerror(reason)) : std::string("refused");
  }
  if (!existed) {
    fs::remove(path, error);
  }
  return std::nullopt;
}

}  // namespace

std::optional<OutputRefusal> RenderOutputRefusal(const std::string& output) {
  if (output == "-") {
    return OutputRefusal{kExitUsage, "-o -: render writes files, not standard output: " +
                                         std::string(kRenderOutputs)};
  }
  std::error_code error;
  if (fs::is_directory(PathFromUtf8(output), error)) {
    return OutputRefusal{kExitUsage, "-o " + output + " is a folder: " + kRenderOutputs +
                                         " in it, such as " +
                                         Utf8FromPath(PathFromUtf8(output) / "sheet.png")};
  }
  const std::string ending = LowerEnding(output);
  if (ending != ".png" && ending != ".pdf") {
    return OutputRefusal{
        kExitUsage, "-o " + output + ": render writes PNG or PDF, chosen by the name's ending (" +
                        (ending.empty() ? std::string("none given") : ending) +
                        "): " + kRenderOutputs};
  }
  const fs::path folder = PathFromUtf8(output).parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error)) {
    return OutputRefusal{kExitFailed, "cannot write " + output + ": there is no folder " +
                                          Utf8FromPath(folder) + " (make it first)"};
  }
  if (const std::optional<std::string> reason = WriteRefused(output)) {
    return OutputRefusal{kExitFailed, "cannot write " + output + ": " + *reason};
  }
  return std::nullopt;
}

std::optional<OutputRefusal> MakeOutputFolder(const std::string& folder) {
  std::error_code error;
  const fs::file_status status = fs::status(PathFromUtf8(folder), error);
  if (fs::exists(status) && !fs::is_directory(status)) {
    return OutputRefusal{kExitUsage, "--out " + folder +
                                         " is a file, not a folder: give the folder to save "
                                         "job-NNNNNN.prn in (it is made when missing)"};
  }
  fs::create_directories(PathFromUtf8(folder), error);
  if (error) {
    return OutputRefusal{kExitFailed,
                         "--out: cannot make the folder " + folder + ": " + error.message()};
  }
  return std::nullopt;
}

}  // namespace quorvel::cli
