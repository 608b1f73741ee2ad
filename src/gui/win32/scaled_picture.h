#pragma once

#include "platform/win32/unique_handle.h"

namespace quorvel::win32 {

/// The bitmap resource `id`, drawn for 96 dpi, at `dpi`: as it is at 96 dpi, else stretched by
/// dpi/96 with halftone smoothing, so that it fills the place the scaled layout gives it.
UniqueGdiObject LoadPictureAtDpi(int id, int dpi);

}  // namespace quorvel::win32
