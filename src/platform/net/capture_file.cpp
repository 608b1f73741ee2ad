#include "platform/net/capture_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "common/platform_error.h"
#include "common/utf8_path.h"

namespace quorvel::net {
namespace {

std::string ErrnoText() {
  return std::generic_category().message(errno);
}

// Opened by its wide name on Windows, where a narrow one goes through the ANSI code page.
std::FILE* OpenForWriting(const std::filesystem::path& file) {
#ifdef _WIN32
  return ::_wfopen(file.c_str(), L"wb");
#else
  return std::fopen(file.c_str(), "wb");
#endif
}

}  // namespace

std::string JobFileName(unsigned number, std::string_view prefix) {
  std::string digits = std::to_string(number);
  if (digits.size() < 6) {
    digits.insert(0, 6 - digits.size(), '0');
  }
  return std::string(prefix) + digits + ".prn";
}

unsigned NextJobNumber(const std::filesystem::path& directory) {
  unsigned highest = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = Utf8FromPath(it->path().filename());
    if (name.ends_with(".part")) {
      name.resize(name.size() - 5);
    }
    if (!(name.starts_with(kJobPrefix) || name.starts_with(kQueryPrefix)) ||
        !name.ends_with(".prn") || name.size() < 14 || name.size() > 17) {
      continue;
    }
    const std::string digits = name.substr(4, name.size() - 8);
    if (digits.find_first_not_of("0123456789") == std::string::npos) {
      highest = std::max(highest, static_cast<unsigned>(std::stoul(digits)));
    }
  }
  return highest + 1;
}

CaptureFile::CaptureFile(const std::filesystem::path& directory, unsigned& number) {
  std::error_code error;
  for (;; ++number) {
    final_ = directory / JobFileName(number);
    part_ = final_;
    part_ += ".part";
    if (!std::filesystem::exists(final_, error) && !std::filesystem::exists(part_, error) &&
        !std::filesystem::exists(directory / JobFileName(number, kQueryPrefix), error)) {
      break;
    }
  }
  ++number;
  file_ = OpenForWriting(part_);
  if (!file_) {
    throw PlatformError("create " + Utf8FromPath(part_), ErrnoText());
  }
}

CaptureFile::CaptureFile(CaptureFile&& other) noexcept
    : file_(other.file_), final_(std::move(other.final_)), part_(std::move(other.part_)) {
  other.file_ = nullptr;
}

CaptureFile::~CaptureFile() {
  if (file_) {
    std::fclose(file_);
  }
}

void CaptureFile::Write(std::string_view bytes) {
  if (!file_ || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw PlatformError("write " + Utf8FromPath(part_), ErrnoText());
  }
}

std::filesystem::path CaptureFile::Finish(std::string_view prefix) {
  if (prefix != kJobPrefix) {
    final_.replace_filename(std::string(prefix) +
                            final_.filename().string().substr(kJobPrefix.size()));
  }
  std::FILE* file = file_;
  file_ = nullptr;
  if (!file || std::fclose(file) != 0) {
    throw PlatformError("write " + Utf8FromPath(part_), ErrnoText());
  }
  std::error_code error;
  std::filesystem::rename(part_, final_, error);
  if (error) {
    throw PlatformError("rename " + Utf8FromPath(part_), error.message());
  }
  return final_;
}

void CaptureFile::Discard() noexcept {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  std::error_code error;
  std::filesystem::remove(part_, error);
}

}  // namespace quorvel::net
