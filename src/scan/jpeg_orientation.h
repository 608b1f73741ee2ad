#pragma once

#include <istream>

namespace quorvel::scan {

/// The EXIF orientation (1 to 8) a JPEG file's APP1 segment states: tag 0x0112 of its first
/// image file directory. 1 when the file states none. `file` is the JPEG from its first byte.
int JpegOrientation(std::istream& file);

}  // namespace quorvel::scan
