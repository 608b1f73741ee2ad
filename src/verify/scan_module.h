#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "verify/scan_findings.h"

namespace quorvel::verify {

/// A block's region outlined on the annotated scan: where, what it says and in which colour.
struct Label {
  Box box;              // on the sheet, inches
  std::string text;     // "block 1: as expected"
  std::string colour;   // "green", "amber" or "red"
};

/// What the scan module (quorvel_scan, loaded on demand like the drawing module so that the
/// commands that do not read scans load neither Qt, zbar nor poppler) offers.
struct ScanModule {
  int version;
  // The sizes of the types handed across, as the module was built.
  std::size_t requestSize;
  std::size_t findingsSize;
  std::size_t labelSize;
  // Every path crosses as UTF-8 text (PathFromUtf8 makes each a path).
  /// Reads every page of the picture or PDF at `path`, finds its symbols and places each page
  /// on the candidate sheet page that fits it.
  ScanFindings (*readScan)(const std::string& path, const ScanRequest& request);
  /// Writes page `page` of the scan to `output` (PNG) with each label's box outlined, made
  /// smaller to `longestSide` pixels when it is longer (0: as scanned); returns why it could
  /// not, or an empty string.
  std::string (*annotate)(const std::string& path, const PageFindings& page,
                          const std::vector<Label>& labels, const std::string& output,
                          int longestSide);
};

inline constexpr int kScanModuleVersion = 3;

/// The module's one exported function; it returns the module's table.
inline constexpr char kScanModuleEntry[] = "quorvel_scan_module";
using ScanModuleEntry = const ScanModule* (*)();

/// True when `module` was built from the same types as the program reading it.
inline bool Matches(const ScanModule& module) {
  return module.version == kScanModuleVersion && module.requestSize == sizeof(ScanRequest) &&
         module.findingsSize == sizeof(ScanFindings) && module.labelSize == sizeof(Label) &&
         module.readScan != nullptr && module.annotate != nullptr;
}

}  // namespace quorvel::verify
