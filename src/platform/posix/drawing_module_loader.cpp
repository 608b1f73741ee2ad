#include "platform/posix/drawing_module_loader.h"

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

// Opens `file` beside the program or in the installed library folder and returns what its
// function `entry` gives, or nullptr with `error` saying why.
const void* LoadTable(const char* file, const char* entryName, std::string& error) {
  const std::filesystem::path folder = ProgramFolder(error);
  if (folder.empty()) {
    return nullptr;
  }
  const std::vector<std::filesystem::path> candidates{
      folder / file, (folder / QUORVEL_DRAWING_MODULE_DIR / file).lexically_normal()};
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

template <typename Module>
const Module* Checked(const void* table, const char* file, std::string& error) {
  const auto* module = static_cast<const Module*>(table);
  if (module != nullptr && !Matches(*module)) {
    error = std::string(file) + " belongs to another build of quorvel-cli";
    return nullptr;
  }
  return module;
}

const render::DrawingModule* Load(std::string& error) {
  const void* table =
      LoadTable(QUORVEL_DRAWING_MODULE_FILE, render::kDrawingModuleEntry, error);
  return Checked<render::DrawingModule>(table, QUORVEL_DRAWING_MODULE_FILE, error);
}

const verify::ScanModule* LoadScan(std::string& error) {
  const void* table = LoadTable(QUORVEL_SCAN_MODULE_FILE, verify::kScanModuleEntry, error);
  return Checked<verify::ScanModule>(table, QUORVEL_SCAN_MODULE_FILE, error);
}

}  // namespace

const render::DrawingModule* LoadDrawingModule(std::string& error) {
  static std::string loadError;
  static const render::DrawingModule* const module = Load(loadError);
  error = loadError;
  return module;
}

const verify::ScanModule* LoadScanModule(std::string& error) {
  static std::string loadError;
  static const verify::ScanModule* const module = LoadScan(loadError);
  error = loadError;
  return module;
}

}  // namespace quorvel::platform
