#pragma once

#include "platform/win32/win32_api.h"

#include <wincodec.h>

namespace quorvel::scan {

/// The imaging component's factory, made on the first call (COM set up on this thread) and kept
/// for the process's life; nullptr when the system has none.
IWICImagingFactory* ImagingFactory();

}  // namespace quorvel::scan
