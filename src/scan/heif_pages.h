#pragma once

#include <string>

#include "scan/picture_pages.h"

// HEIF files (HEIC, as iPhones save photos) read through libheif into a grey picture.
namespace quorvel::scan {

/// True when the file at `path` begins as a HEIF file libheif reads does.
bool IsHeif(const std::string& path);

/// Hands the primary image of the HEIF file at `path` to `take` as grey, turned and mirrored as
/// the file says it is to be seen. Returns why it cannot, or "".
std::string ReadHeif(const std::string& path, const PageTaker& take);

}  // namespace quorvel::scan
