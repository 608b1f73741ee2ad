#include "cli/commands.h"

#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"

namespace quorvel::cli {

CLI::Option* AddPageArgument(CLI::App& command, std::string& page) {
  return command.add_option("page", page, "The test page: dot-matrix or pcl")
      ->required()
      ->check(CLI::IsMember({"dot-matrix", "pcl"}));
}

PageComposer ComposerFor(const std::string& page) {
  return page == "pcl" ? &ComposePclPage : &ComposeDotMatrixPage;
}

PageText ComposeJob(PageComposer composer) {
  PageText job = composer();
  job.push_back(kFormFeed);
  return job;
}

}  // namespace quorvel::cli
