#pragma once

#include <cstddef>
#include <string>

#include "render/render_sheet.h"
#include "sheet/page_model.h"

namespace quorvel::render {

/// What the drawing module (quorvel_draw, loaded on demand so that commands that do not draw load
/// neither Qt nor zint) offers the program that loads it.
struct DrawingModule {
  int version;
  // The sizes of the types handed across, as the module was built: a module from another build
  // whose types differ is refused instead of being called.
  std::size_t sheetSize;
  std::size_t optionsSize;
  std::size_t resultSize;
  // `path` and the result's files are UTF-8 text (PathFromUtf8 makes each a path).
  RenderResult (*renderSheet)(const sheet::Sheet& sheet, const std::string& path,
                              const RenderOptions& options);
};

inline constexpr int kDrawingModuleVersion = 1;

/// The module's one exported function, looked up by this name; it returns the module's table.
inline constexpr char kDrawingModuleEntry[] = "quorvel_drawing_module";
using DrawingModuleEntry = const DrawingModule* (*)();

/// True when `module` was built from the same types as the program reading it.
inline bool Matches(const DrawingModule& module) {
  return module.version == kDrawingModuleVersion && module.sheetSize == sizeof(sheet::Sheet) &&
         module.optionsSize == sizeof(RenderOptions) &&
         module.resultSize == sizeof(RenderResult) && module.renderSheet != nullptr;
}

}  // namespace quorvel::render
