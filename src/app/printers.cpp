#include "app/printers.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace quorvel {

// Counts and indexes are size_t: a print server with tens of thousands of queues is listed like
// any other. The platform list is read once per call, never once per index.
void GetPrinters(Printers& printers, ComboBox& combo) {
  for (const std::string& name : printers.Installed()) {
    combo.Append(name);
  }
  const std::size_t entries = combo.Count();
  for (std::size_t i = 0; i < entries; ++i) {
    const std::optional<std::string>& current = printers.Current();
    if (current && *current == combo.TextAt(i)) {
      combo.Select(i);
      return;
    }
  }
}

// The one name is looked up directly: the answer is the same as comparing it with every entry
// of the list, without reading thousands of entries for one print.
bool SelectPrinter(Printers& printers, std::string deviceName) {
  if (!printers.IsInstalled(deviceName)) {
    return false;
  }
  printers.SetCurrent(std::move(deviceName));
  return true;
}

namespace {

// Levenshtein's distance, one row at a time, letters compared without their case.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  const auto same = [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  };
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] =
          std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::vector<std::string> ClosestNames(const std::string& typed,
                                      const std::vector<std::string>& installed, std::size_t most) {
  std::vector<std::pair<std::size_t, const std::string*>> ranked;
  for (const std::string& name : installed) {
    ranked.emplace_back(EditDistance(typed, name), &name);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> closest;
  for (std::size_t i = 0; i < ranked.size() && i < most; ++i) {
    closest.push_back(*ranked[i].second);
  }
  return closest;
}

}  // namespace quorvel
