// The reading of scans as a module of its own: quorvel-cli loads it only for verify.

#include "verify/scan_module.h"

#include <exception>

#include "scan/annotate.h"
#include "scan/scan_analysis.h"

namespace {

// No exception leaves the module (quorvel-cli carries a C++ runtime of its own).
quorvel::verify::ScanFindings ReadScanCaught(const std::string& path,
                                             const quorvel::verify::ScanRequest& request) {
  try {
    return quorvel::scan::ReadScan(path, request);
  } catch (const std::exception& failure) {
    quorvel::verify::ScanFindings findings;
    findings.error = std::string("the scan could not be read: ") + failure.what();
    return findings;
  } catch (...) {
    quorvel::verify::ScanFindings findings;
    findings.error = "the scan could not be read";
    return findings;
  }
}

std::string AnnotateCaught(const std::string& path, const quorvel::verify::PageFindings& page,
                           const std::vector<quorvel::verify::Label>& labels,
                           const std::string& output, int longestSide) {
  try {
    return quorvel::scan::Annotate(path, page, labels, output, longestSide);
  } catch (const std::exception& failure) {
    return std::string("the annotated scan could not be drawn: ") + failure.what();
  } catch (...) {
    return "the annotated scan could not be drawn";
  }
}

const quorvel::verify::ScanModule kModule{
    quorvel::verify::kScanModuleVersion,   sizeof(quorvel::verify::ScanRequest),
    sizeof(quorvel::verify::ScanFindings), sizeof(quorvel::verify::Label),
    &ReadScanCaught,                       &AnnotateCaught,
};

}  // namespace

// Named by kScanModuleEntry.
extern "C" __attribute__((visibility("default"))) const quorvel::verify::ScanModule*
quorvel_scan_module() {
  return &kModule;
}
