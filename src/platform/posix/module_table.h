#pragma once

#include <string>

namespace quorvel::platform {

/// Opens the module `file`, first from the program's own folder (the build tree), then from the
/// installed module folder, and returns the table its function `entryName` gives. The module
/// stays loaded for the process's life. Returns nullptr with `error` saying why when there is no
/// such module, it cannot be loaded or it gives no table.
const void* LoadModuleTable(const char* file, const char* entryName, std::string& error);

}  // namespace quorvel::platform
