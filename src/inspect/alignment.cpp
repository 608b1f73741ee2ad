#include <algorithm>
#include <vector>

#include "inspect/sequence_check.h"

namespace quorvel::inspect {

// Edit distance over the suffixes: cost[i][j] is the number of differing steps that align
// named[i..] with sent[j..]. Walking from the front and preferring a pair over a gap pairs equal
// bytes early and leaves extra sent bytes to the end of a run, where a reader expects them.
std::vector<SequenceStep> AlignBytes(const std::string& named, const std::string& sent) {
  const std::size_t rows = named.size() + 1;
  const std::size_t columns = sent.size() + 1;
  std::vector<std::size_t> cost(rows * columns, 0);
  auto at = [&](std::size_t i, std::size_t j) -> std::size_t& { return cost[i * columns + j]; };
  for (std::size_t i = rows; i-- > 0;) {
    for (std::size_t j = columns; j-- > 0;) {
      if (i == named.size() || j == sent.size()) {
        at(i, j) = (named.size() - i) + (sent.size() - j);
        continue;
      }
      const std::size_t pair = at(i + 1, j + 1) + (named[i] == sent[j] ? 0 : 1);
      at(i, j) = std::min({pair, at(i, j + 1) + 1, at(i + 1, j) + 1});
    }
  }
  std::vector<SequenceStep> steps;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < named.size() || j < sent.size()) {
    const bool canPair = i < named.size() && j < sent.size();
    if (canPair && at(i, j) == at(i + 1, j + 1) + (named[i] == sent[j] ? 0 : 1)) {
      steps.push_back(
          {static_cast<std::uint8_t>(named[i++]), static_cast<std::uint8_t>(sent[j++])});
    } else if (j < sent.size() && at(i, j) == at(i, j + 1) + 1) {
      steps.push_back({std::nullopt, static_cast<std::uint8_t>(sent[j++])});
    } else {
      steps.push_back({static_cast<std::uint8_t>(named[i++]), std::nullopt});
    }
  }
  return steps;
}

}  // namespace quorvel::inspect
