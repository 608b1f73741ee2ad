#include "platform/posix/module_table.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace quorvel::platform {
namespace {

std::string DlError() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown dynamic loader error";
}

// The folder of the running program, symbolic links resolved.
std::filesystem::path ProgramFolder(std::string& error) {
  std::error_code failure;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure) {
    error = "cannot find the program's own folder (/proc/self/exe): " + failure.message();
    return {};
  }
  return program.parent_path();
}

}  // namespace

const void* LoadModuleTable(const char* file, const char* entryName, std::string& error) {
  const std::filesystem::path folder = ProgramFolder(error);
  if (folder.empty()) {
    return nullptr;
  }
  const std::vector<std::filesystem::path> candidates{
      folder / file, (folder / QUORVEL_MODULE_DIR / file).lexically_normal()};
  std::string tried;
  for (const std::filesystem::path& candidate : candidates) {
    const std::string path = candidate.string();
    if (access(path.c_str(), F_OK) != 0) {
      tried += (tried.empty() ? "" : "; ") + path + ": " + std::strerror(errno);
      continue;
    }
    // Kept loaded: the module's Qt application lives until the process ends.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      error = DlError();
      return nullptr;
    }
    auto entry = reinterpret_cast<const void* (*)()>(dlsym(handle, entryName));
    if (entry == nullptr) {
      error = DlError();
      return nullptr;
    }
    const void* table = entry();
    if (table == nullptr) {
      error = path + " belongs to another build of quorvel-cli";
    }
    return table;
  }
  error = tried;
  return nullptr;
}

}  // namespace quorvel::platform
