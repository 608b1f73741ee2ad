#pragma once

#include <string>

#include "scan/picture_pages.h"

// Colour PNG scans read through libpng straight into grey.
namespace quorvel::scan {

/// Reads the colour PNG at `path` into grey a row at a time, so that no 32-bit copy of the
/// picture is ever made (Qt's reader decodes colour at 32 bits a dot: 140 MB for a 600 dpi A4
/// scan), and hands it to `take`. Sets `read` false, and returns "", for any other file (a grey,
/// palette or 1-bit PNG, one too large to read whole, or no PNG): Qt's reader takes those.
std::string ReadColourPng(const std::string& path, const PageTaker& take, bool& read);

}  // namespace quorvel::scan
