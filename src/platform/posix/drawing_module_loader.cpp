#include "platform/posix/drawing_module_loader.h"

#include "platform/posix/module_table.h"

namespace quorvel::platform {
namespace {

template <typename Module>
const Module* Checked(const void* table, const char* file, std::string& error) {
  const auto* module = static_cast<const Module*>(table);
  if (module != nullptr && !Matches(*module)) {
    error = std::string(file) + " belongs to another build of quorvel-cli";
    return nullptr;
  }
  return module;
}

// Each module is built where its libraries are (the drawing: zint and Qt 6; the scan: Qt 6,
// zbar and poppler), so a build may have one without the other.
const render::DrawingModule* Load(std::string& error) {
#ifdef QUORVEL_DRAWING_MODULE_FILE
  const void* table =
      LoadModuleTable(QUORVEL_DRAWING_MODULE_FILE, render::kDrawingModuleEntry, error);
  return Checked<render::DrawingModule>(table, QUORVEL_DRAWING_MODULE_FILE, error);
#else
  error = "this build has no drawing module (zint or Qt 6 was not found)";
  return nullptr;
#endif
}

const verify::ScanModule* LoadScan(std::string& error) {
#ifdef QUORVEL_SCAN_MODULE_FILE
  const void* table = LoadModuleTable(QUORVEL_SCAN_MODULE_FILE, verify::kScanModuleEntry, error);
  return Checked<verify::ScanModule>(table, QUORVEL_SCAN_MODULE_FILE, error);
#else
  error = "this build has no scan module (Qt 6, zbar or poppler was not found)";
  return nullptr;
#endif
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
