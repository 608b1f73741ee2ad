#pragma once

#include <string>

namespace quorvel::platform {

/// Opens the module `file` (a DLL) from the program's own folder, where the build tree and the
/// installer both put it, and returns the table its function `entryName` gives. The module stays
/// loaded for the process's life. Returns nullptr with `error` saying why when there is no such
/// module, it cannot be loaded or it gives no table.
const void* LoadModuleTable(const char* file, const char* entryName, std::string& error);

/// The table of `file` as `Module`, refused when it was built from other types than the
/// program's (Matches(Module)).
template <typename Module>
const Module* LoadCheckedModule(const char* file, const char* entryName, std::string& error) {
  const auto* module = static_cast<const Module*>(LoadModuleTable(file, entryName, error));
  if (module != nullptr && !Matches(*module)) {
    error = std::string(file) + " belongs to another build of quorvel-cli";
    return nullptr;
  }
  return module;
}

}  // namespace quorvel::platform
