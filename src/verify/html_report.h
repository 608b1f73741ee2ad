#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "verify/verify_report.h"

// The report of a verify run as one self-contained HTML page: its pictures embedded as data:
// URIs, its style inline, nothing fetched, laid out to be read on a phone as well as on a desk.
namespace quorvel::verify {

/// A picture the page shows: a PNG's bytes, or why there is none.
struct ReportPicture {
  std::string png;   // empty when the picture could not be drawn
  std::string note;  // why not, shown in its place
};

/// The two pictures beside each page's table.
struct PagePictures {
  ReportPicture scan;   // the scan with each block outlined in its verdict's colour
  ReportPicture sheet;  // the expected sheet as a compliant printer prints it
};

/// `text` made safe as HTML text or as a quoted attribute: & < > " ' as character references,
/// control characters as their visible pictures (U+2400...), bytes that are not UTF-8 as U+FFFD.
std::string HtmlEscape(std::string_view text);

/// `bytes` in base64 (RFC 4648, with padding).
std::string Base64(std::string_view bytes);

/// The whole page: per page of the scan its heading, the annotated scan beside the expected
/// sheet, the table of blocks with their verdicts and grades and its summary; then what each
/// verdict means and, once, that the grades are indicative. `pictures` runs beside `pages`; a
/// page without an entry shows no pictures.
std::string HtmlReport(const std::string& file, const std::vector<PageResult>& pages,
                       const std::vector<PagePictures>& pictures, int exitStatus);

}  // namespace quorvel::verify
