#pragma once

#include <iterator>
#include <string_view>

#include "pages/page_text.h"

namespace quorvel {

/// The fixed test pages, by the names the command line and the reports use.
enum class PageKind { kDotMatrix, kPcl };

struct Page {
  PageKind kind;
  std::string_view name;  // "dot-matrix", "pcl"
  PageComposer compose;
};

/// Every page, dot-matrix first.
extern const Page kPages[2];

/// The page named `name`; null when there is none of that name.
const Page* PageNamed(std::string_view name);

/// The page of that kind.
const Page& PageOf(PageKind kind);

/// The job as it goes to the printer: the page and its closing form feed, built in one place.
PageText ComposeJob(PageComposer composer);

}  // namespace quorvel
