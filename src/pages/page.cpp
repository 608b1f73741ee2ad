#include "pages/page.h"

#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"

namespace quorvel {

const Page kPages[2] = {
    {PageKind::kDotMatrix, "dot-matrix", &ComposeDotMatrixPage},
    {PageKind::kPcl, "pcl", &ComposePclPage},
};

const Page* PageNamed(std::string_view name) {
  for (const Page& page : kPages) {
    if (page.name == name) {
      return &page;
    }
  }
  return nullptr;
}

const Page& PageOf(PageKind kind) {
  return kPages[static_cast<int>(kind)];
}

PageText ComposeJob(PageComposer composer) {
  PageText job = composer();
  job.push_back(kFormFeed);
  return job;
}

}  // namespace quorvel
