#pragma once

#include <string>

namespace quorvel {

/// A page of raw bytes, one char per byte. It may hold NUL bytes, so it is always handled with
/// its length and never as a zero-terminated string.
using PageText = std::string;

/// Builds one of the fixed test pages.
using PageComposer = PageText (*)();

/// Form feed: ends every job, after the page.
inline constexpr char kFormFeed = '\x0C';

}  // namespace quorvel
