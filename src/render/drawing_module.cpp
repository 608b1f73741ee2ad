// The drawing as a module of its own: quorvel-cli loads it only for render and listen --render.

#include "render/drawing_module.h"

namespace {

const quorvel::render::DrawingModule kModule{
    quorvel::render::kDrawingModuleVersion,
    sizeof(quorvel::sheet::Sheet),
    sizeof(quorvel::render::RenderOptions),
    sizeof(quorvel::render::RenderResult),
    &quorvel::render::RenderSheet,
};

}  // namespace

// Named by kDrawingModuleEntry; a pointer to the table keeps the C linkage free of C++ values.
extern "C" __attribute__((visibility("default"))) const quorvel::render::DrawingModule*
quorvel_drawing_module() {
  return &kModule;
}
