// The reading of scans as a module of its own: quorvel-cli loads it only for verify.

#include "verify/scan_module.h"

#include <exception>

#include "scan/annotated_file.h"
#include "scan/picture_pages.h"
#include "scan/scan_analysis.h"

namespace {

// Each page of the file, read into grey, analysed in turn: only one page is held at a time.
quorvel::verify::ScanFindings ReadScan(const std::string& path,
                                       const quorvel::verify::ScanRequest& request) {
  quorvel::scan::EnsureApplication();
  quorvel::verify::ScanFindings findings;
  findings.error =
      quorvel::scan::ReadPicturePages(path, [&findings, &request](quorvel::GreyPicture& picture) {
        findings.pages.push_back(
            quorvel::scan::AnalysePage(picture, static_cast<int>(findings.pages.size()), request));
      });
  return findings;
}

// No exception leaves the module (quorvel-cli carries a C++ runtime of its own).
quorvel::verify::ScanFindings ReadScanCaught(const std::string& path,
                                             const quorvel::verify::ScanRequest& request) {
  try {
    return ReadScan(path, request);
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
    return quorvel::scan::WriteAnnotated(path, page, labels, output, longestSide);
  } catch (const std::exception& failure) {
    return std::string("the annotated scan could not be drawn: ") + failure.what();
  } catch (...) {
    return "the annotated scan could not be drawn";
  }
}

const quorvel::verify::ScanModule kModule{
    quorvel::verify::kScanModuleVersion,
    sizeof(quorvel::verify::ScanRequest),
    sizeof(quorvel::verify::ScanFindings),
    sizeof(quorvel::verify::Label),
    &ReadScanCaught,
    &AnnotateCaught,
};

}  // namespace

// Named by kScanModuleEntry: the module's one exported symbol.
#ifdef _WIN32
#define QUORVEL_SCAN_EXPORT __declspec(dllexport)
#else
#define QUORVEL_SCAN_EXPORT __attribute__((visibility("default")))
#endif
extern "C" QUORVEL_SCAN_EXPORT const quorvel::verify::ScanModule* quorvel_scan_module() {
  return &kModule;
}
