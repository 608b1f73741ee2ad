#include "platform/win32/module_table.h"

#include "common/utf8_path.h"

#include <filesystem>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

namespace quorvel::platform {
namespace {

// The folder of the running program, from its own wide path.
std::filesystem::path ProgramFolder(std::string& error) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      error = "cannot find the program's own folder: " + win32::SystemMessage(::GetLastError());
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      return std::filesystem::path(path).parent_path();
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

const void* LoadModuleTable(const char* file, const char* entryName, std::string& error) {
  const std::filesystem::path folder = ProgramFolder(error);
  if (folder.empty()) {
    return nullptr;
  }
  const std::filesystem::path path = folder / file;
  // The module's own DLLs are looked for beside it first, not in the current folder. Kept loaded:
  // what the module set up lives until the process ends.
  const HMODULE module =
      ::LoadLibraryExW(path.wstring().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) {
    const DWORD code = ::GetLastError();
    error = Utf8FromPath(path) + ": " + win32::SystemMessage(code);
    return nullptr;
  }
  auto entry = reinterpret_cast<const void* (*)()>(
      reinterpret_cast<void*>(::GetProcAddress(module, entryName)));
  if (entry == nullptr) {
    const DWORD code = ::GetLastError();
    error = Utf8FromPath(path) + ": no " + entryName + ": " + win32::SystemMessage(code);
    return nullptr;
  }
  const void* table = entry();
  if (table == nullptr) {
    error = Utf8FromPath(path) + " belongs to another build of quorvel-cli";
  }
  return table;
}

}  // namespace quorvel::platform
