// The drawing as a module of its own (a DLL on Windows): quorvel-cli loads it only for render
// and listen --render.

#include "render/drawing_module.h"

#include <exception>

namespace {

// No exception leaves the module: quorvel-cli may carry a C++ runtime of its own, which would not
// know this one's exceptions.
quorvel::render::RenderResult RenderSheetCaught(const quorvel::sheet::Sheet& sheet,
                                                const std::string& path,
                                                const quorvel::render::RenderOptions& options) {
  try {
    return quorvel::render::RenderSheet(sheet, path, options);
  } catch (const std::exception& failure) {
    quorvel::render::RenderResult result;
    result.error = std::string("the drawing failed: ") + failure.what();
    return result;
  } catch (...) {
    quorvel::render::RenderResult result;
    result.error = "the drawing failed";
    return result;
  }
}

const quorvel::render::DrawingModule kModule{
    quorvel::render::kDrawingModuleVersion,
    sizeof(quorvel::sheet::Sheet),
    sizeof(quorvel::render::RenderOptions),
    sizeof(quorvel::render::RenderResult),
    &RenderSheetCaught,
};

}  // namespace

// Named by kDrawingModuleEntry; a pointer to the table keeps the C linkage free of C++ values.
#ifdef _WIN32
#define QUORVEL_MODULE_ENTRY __declspec(dllexport)
#else
#define QUORVEL_MODULE_ENTRY __attribute__((visibility("default")))
#endif
extern "C" QUORVEL_MODULE_ENTRY const quorvel::render::DrawingModule* quorvel_drawing_module() {
  return &kModule;
}
