#pragma once

#include <string>

#include "render/drawing_module.h"
#include "verify/scan_module.h"

namespace quorvel::platform {

/// The drawing module, loaded on the first call and kept for the process's life: first from the
/// program's own folder (the build tree), then from the installed library folder beside it.
/// Returns nullptr with `error` saying why when it cannot be loaded.
const render::DrawingModule* LoadDrawingModule(std::string& error);

/// The scan module (quorvel_scan, for verify), found and kept the same way.
const verify::ScanModule* LoadScanModule(std::string& error);

}  // namespace quorvel::platform
