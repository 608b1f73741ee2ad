#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel::net {

/// The names of captured jobs and of captured queries (job control only): job-NNNNNN.prn and
/// pjl-NNNNNN.prn share one count.
inline constexpr std::string_view kJobPrefix = "job-";
inline constexpr std::string_view kQueryPrefix = "pjl-";

/// One captured job on disk: written as "<dir>/job-NNNNNN.prn.part" and renamed to
/// "job-NNNNNN.prn" when the job has ended, so a .prn file that exists is complete. A number
/// whose file exists already is skipped: nothing is ever overwritten.
class CaptureFile {
 public:
  /// Creates the next free job file in `directory`, starting the search at `number` (which
  /// is advanced past the number taken). Throws PlatformError when the file cannot be created.
  CaptureFile(const std::filesystem::path& directory, unsigned& number);
  ~CaptureFile();
  CaptureFile(CaptureFile&& other) noexcept;
  CaptureFile& operator=(CaptureFile&&) = delete;
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  /// Appends bytes; throws PlatformError when the disk does not take them all.
  void Write(std::string_view bytes);

  /// Closes the file and gives it its final name, "job-NNNNNN.prn" or, with kQueryPrefix,
  /// "pjl-NNNNNN.prn"; returns that name. Throws PlatformError.
  std::filesystem::path Finish(std::string_view prefix = kJobPrefix);

  /// Closes the file and removes it (a connection that brought nothing).
  void Discard() noexcept;

  /// The name the job will have once finished.
  const std::filesystem::path& FinalPath() const { return final_; }

 private:
  std::FILE* file_ = nullptr;
  std::filesystem::path final_;
  std::filesystem::path part_;
};

/// "job-000042.prn"; with kQueryPrefix "pjl-000042.prn".
std::string JobFileName(unsigned number, std::string_view prefix = kJobPrefix);

/// The number after the highest job or query file (or .part file) in `directory`; 1 when there
/// is none.
/// New jobs continue the count, so file names keep the order the jobs came in.
unsigned NextJobNumber(const std::filesystem::path& directory);

}  // namespace quorvel::net
