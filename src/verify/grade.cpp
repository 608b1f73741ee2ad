#include "verify/grade.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace quorvel::verify {
namespace {

// One bar or space of a profile: its samples [first, last] and its extreme reflectance.
struct Element {
  bool bar = false;
  std::size_t first = 0;
  std::size_t last = 0;
};

int Band(double value, const double (&limits)[4]) {
  for (int i = 0; i < 4; ++i) {
    if (value >= limits[i]) {
      return 4 - i;
    }
  }
  return 0;
}

// The elements between the first bar and the last, split at the global threshold.
std::vector<Element> Elements(const std::vector<double>& r, double threshold) {
  std::vector<Element> elements;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const bool bar = r[i] < threshold;
    if (elements.empty() || elements.back().bar != bar) {
      elements.push_back({bar, i, i});
    } else {
      elements.back().last = i;
    }
  }
  // The quiet zones are not elements of the symbol.
  if (!elements.empty() && !elements.front().bar) {
    elements.erase(elements.begin());
  }
  if (!elements.empty() && !elements.back().bar) {
    elements.pop_back();
  }
  return elements;
}

double Extreme(const std::vector<double>& r, const Element& e) {
  const auto [low, high] = std::minmax_element(r.begin() + static_cast<long>(e.first),
                                               r.begin() + static_cast<long>(e.last) + 1);
  return e.bar ? *low : *high;
}

// Within an element, the deepest valley between two higher points of a space, or the highest
// peak between two lower points of a bar: the element's reflectance non-uniformity. The ramps at
// its edges rise or fall one way only and count for nothing.
double NonUniformity(const std::vector<double>& r, const Element& e) {
  const std::size_t n = e.last - e.first + 1;
  std::vector<double> before(n), after(n);
  const auto sample = [&](std::size_t i) { return e.bar ? -r[e.first + i] : r[e.first + i]; };
  for (std::size_t i = 0; i < n; ++i) {
    before[i] = i == 0 ? sample(i) : std::max(before[i - 1], sample(i));
    after[n - 1 - i] = i == 0 ? sample(n - 1) : std::max(after[n - i], sample(n - 1 - i));
  }
  double deepest = 0;
  for (std::size_t i = 0; i < n; ++i) {
    deepest = std::max(deepest, std::min(before[i], after[i]) - sample(i));
  }
  return deepest;
}

// Where the profile crosses `level` between sample i and sample i + 1 (their middles at
// i + 0.5 and i + 1.5): an edge between two samples, placed by their reflectances.
double EdgeAt(const std::vector<double>& r, std::size_t i, double level) {
  if (i + 1 >= r.size() || r[i] == r[i + 1]) {
    return static_cast<double>(i) + 1;
  }
  return static_cast<double>(i) + 0.5 + std::clamp((r[i] - level) / (r[i] - r[i + 1]), 0.0, 1.0);
}

double Extreme(const std::vector<double>& r, const Element& e);

// Each element's width in samples, edge to edge: an edge lies where the profile passes half way
// between the two elements' own reflectances (a bar's least, a space's most), the quiet zones'
// most outside the first and last bar.
std::vector<double> ElementWidths(const std::vector<double>& r, const std::vector<Element>& elements) {
  std::vector<double> edges;
  if (elements.empty()) {
    return {};
  }
  const std::size_t first = elements.front().first, last = elements.back().last;
  const double before = first > 0 ? *std::max_element(r.begin(), r.begin() + static_cast<long>(first)) : 1;
  const double after =
      last + 1 < r.size() ? *std::max_element(r.begin() + static_cast<long>(last) + 1, r.end()) : 1;
  edges.push_back(first > 0 ? EdgeAt(r, first - 1, (before + Extreme(r, elements.front())) / 2)
                            : 0);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const double next = i + 1 < elements.size() ? Extreme(r, elements[i + 1]) : after;
    edges.push_back(EdgeAt(r, elements[i].last, (Extreme(r, elements[i]) + next) / 2));
  }
  std::vector<double> widths;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    widths.push_back(edges[i + 1] - edges[i]);
  }
  return widths;
}

// How the elements of a symbol fall into characters for the decodability of a symbology whose
// characters are n modules wide: runs of `count` elements, characters or guards.
struct Group {
  int count;
  bool character;
};

// The edge-to-similar-edge measurements of a character lie from `least` to `most` modules.
struct CharacterRule {
  int modules = 0;  // 0: the symbology has no whole-module characters
  int least = 2;
  int most = 0;
  std::vector<Group> groups;
};

CharacterRule RuleFor(sheet::Symbology symbology, std::size_t elements) {
  const auto ean = [](int perHalf, int endGuard) {
    CharacterRule rule{7, 2, 5, {{3, false}}};
    for (int i = 0; i < perHalf; ++i) {
      rule.groups.push_back({4, true});
    }
    rule.groups.push_back({endGuard == 3 ? 5 : 6, false});
    if (endGuard == 3) {
      for (int i = 0; i < perHalf; ++i) {
        rule.groups.push_back({4, true});
      }
      rule.groups.push_back({3, false});
    }
    return rule;
  };
  switch (symbology) {
    case sheet::Symbology::kEan8:
      return ean(4, 3);
    case sheet::Symbology::kEan13:
    case sheet::Symbology::kUpcA:
      return ean(6, 3);
    case sheet::Symbology::kUpcE:
      return ean(6, 6);  // six characters, then the six-element end guard
    case sheet::Symbology::kCode128: {
      // Six elements each character (start and check included), seven in the stop.
      CharacterRule rule{11, 2, 7, {}};
      for (std::size_t i = 0; elements >= 7 && i < (elements - 7) / 6; ++i) {
        rule.groups.push_back({6, true});
      }
      rule.groups.push_back({7, false});
      return rule;
    }
    default:
      return {};
  }
}

// The decodability of a symbology with whole-module characters: in each character, each
// edge-to-similar-edge measurement against the reference thresholds half way between whole
// modules, the character's own width giving the module; the least margin over all characters,
// as a share of half a module. -1 when the elements do not fall into the symbology's characters.
double CharacterDecodability(const std::vector<double>& widths, const CharacterRule& rule) {
  std::size_t total = 0;
  for (const Group& g : rule.groups) {
    total += static_cast<std::size_t>(g.count);
  }
  if (rule.modules == 0 || total != widths.size()) {
    return -1;
  }
  double worst = 1;
  std::size_t at = 0;
  for (const Group& g : rule.groups) {
    const auto first = widths.begin() + static_cast<long>(at);
    at += static_cast<std::size_t>(g.count);
    if (!g.character) {
      continue;
    }
    double width = 0;
    for (auto w = first; w != first + g.count; ++w) {
      width += *w;
    }
    const double module = width / rule.modules;
    // The measurements from each element's leading edge to the next but one's: two in an EAN/UPC
    // character, four in a Code 128 one.
    for (auto w = first; w + 2 != first + g.count; ++w) {
      const double e = (*w + *(w + 1)) / module;
      double margin = 1e9;
      for (int j = rule.least; j < rule.most; ++j) {
        margin = std::min(margin, std::abs(e - (j + 0.5)));
      }
      worst = std::min(worst, margin / 0.5);
    }
  }
  return std::clamp(worst, 0.0, 1.0);
}

// How far the element widths are from their nominal, 1 exactly on it and 0 half way to the next:
// whole modules for `fixedModules`, else narrow and wide about their own means.
double Decodability(std::vector<double> widths, bool fixedModules) {
  if (widths.size() < 3) {
    return 0;
  }
  const double narrowest = *std::min_element(widths.begin(), widths.end());
  const double widest = *std::max_element(widths.begin(), widths.end());
  double worst = 0;
  if (fixedModules) {
    // Edge to similar edge: a bar and the space after it together, which ink spread leaves
    // alone; the module is their total over the total of their rounded module counts.
    std::vector<double> pairs;
    for (std::size_t i = 0; i + 1 < widths.size(); ++i) {
      pairs.push_back(widths[i] + widths[i + 1]);
    }
    widths = pairs;
    double module = *std::min_element(widths.begin(), widths.end()) / 2;
    for (int pass = 0; pass < 3; ++pass) {
      double modules = 0, total = 0;
      for (double w : widths) {
        modules += std::max(2.0, std::round(w / module));
        total += w;
      }
      module = total / modules;
    }
    for (double w : widths) {
      const double n = w / module;
      worst = std::max(worst, std::abs(n - std::max(2.0, std::round(n))));
    }
    return std::clamp(1 - worst / 0.5, 0.0, 1.0);
  }
  const double split = (narrowest + widest) / 2;
  double narrow = 0, wide = 0;
  int narrows = 0, wides = 0;
  for (double w : widths) {
    (w < split ? narrow : wide) += w;
    (w < split ? narrows : wides) += 1;
  }
  if (wides == 0) {
    return 0;
  }
  narrow /= narrows;
  wide /= wides;
  const double half = (wide - narrow) / 2;
  for (double w : widths) {
    worst = std::max(worst, std::abs(w - (w < split ? narrow : wide)));
  }
  return half > 0 ? std::clamp(1 - worst / half, 0.0, 1.0) : 0;
}

}  // namespace

int SymbolContrastGrade(double sc) {
  return Band(sc, {0.70, 0.55, 0.40, 0.20});
}

int ModulationGrade(double modulation) {
  return Band(modulation, {0.70, 0.60, 0.50, 0.40});
}

int DefectsGrade(double defects) {
  return Band(-defects, {-0.15, -0.20, -0.25, -0.30});
}

int DecodabilityGrade(double decodability) {
  return Band(decodability, {0.62, 0.50, 0.37, 0.25});
}

char GradeLetter(double value) {
  return value >= 3.5 ? 'A' : value >= 2.5 ? 'B' : value >= 1.5 ? 'C' : value >= 0.5 ? 'D' : 'F';
}

LineGrade GradeLine(const Profile& profile, bool fixedModules) {
  return GradeLine(profile, fixedModules, std::nullopt);
}

LineGrade GradeLine(const Profile& profile, bool fixedModules,
                    std::optional<sheet::Symbology> symbology) {
  LineGrade line;
  line.decodes = profile.decodes;
  const std::vector<double>& r = profile.samples;
  if (r.size() < 3) {
    return line;
  }
  const auto [low, high] = std::minmax_element(r.begin(), r.end());
  line.rmin = *low;
  line.rmax = *high;
  line.symbolContrast = line.rmax - line.rmin;
  const double threshold = (line.rmax + line.rmin) / 2;
  const std::vector<Element> elements = Elements(r, threshold);
  if (elements.size() < 3 || line.symbolContrast <= 0) {
    return line;
  }
  line.minEdgeContrast = 1;
  double worstNonUniformity = 0;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (i + 1 < elements.size()) {
      line.minEdgeContrast = std::min(line.minEdgeContrast,
                                      std::abs(Extreme(r, elements[i + 1]) - Extreme(r, elements[i])));
    }
    worstNonUniformity = std::max(worstNonUniformity, NonUniformity(r, elements[i]));
  }
  line.modulation = line.minEdgeContrast / line.symbolContrast;
  line.defects = worstNonUniformity / line.symbolContrast;
  const std::vector<double> widths = ElementWidths(r, elements);
  const double byCharacter =
      symbology ? CharacterDecodability(widths, RuleFor(*symbology, widths.size())) : -1;
  line.decodability = byCharacter >= 0 ? byCharacter : Decodability(widths, fixedModules);
  const int rminGrade = line.rmin <= 0.5 * line.rmax ? 4 : 0;
  const int edgeGrade = line.minEdgeContrast >= 0.15 ? 4 : 0;
  line.grade = std::min({line.decodes ? 4 : 0, rminGrade, edgeGrade,
                         SymbolContrastGrade(line.symbolContrast), ModulationGrade(line.modulation),
                         DefectsGrade(line.defects), DecodabilityGrade(line.decodability)});
  return line;
}

SymbolGrade GradeSymbol(const std::vector<Profile>& profiles, sheet::Symbology symbology) {
  SymbolGrade symbol;
  const bool fixedModules = symbology != sheet::Symbology::kCode39 &&
                            symbology != sheet::Symbology::kInterleaved2of5;
  for (const Profile& profile : profiles) {
    const LineGrade line = GradeLine(profile, fixedModules, symbology);
    symbol.value += line.grade;
    symbol.contrast += line.symbolContrast;
    symbol.modulation += line.modulation;
    symbol.defects += line.defects;
    symbol.decodability += line.decodability;
    ++symbol.lines;
  }
  if (symbol.lines == 0) {
    return symbol;
  }
  symbol.graded = true;
  for (double* mean : {&symbol.value, &symbol.contrast, &symbol.modulation, &symbol.defects,
                       &symbol.decodability}) {
    *mean /= symbol.lines;
  }
  symbol.letter = GradeLetter(symbol.value);
  return symbol;
}

std::string GradeText(const SymbolGrade& grade) {
  char text[32];
  std::snprintf(text, sizeof text, "grade %c (%.1f)", grade.letter, grade.value);
  return text;
}

}  // namespace quorvel::verify
