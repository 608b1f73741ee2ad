// The grade's parameters on synthetic profiles whose values are worked out by hand, and the
// thresholds ISO/IEC 15416 grades them with.

#include <gtest/gtest.h>

#include "verify/grade.h"

namespace quorvel::verify {
namespace {

// A profile from runs of (reflectance, samples).
Profile Runs(std::initializer_list<std::pair<double, int>> runs, bool decodes = true) {
  Profile profile;
  for (const auto& [r, n] : runs) {
    profile.samples.insert(profile.samples.end(), static_cast<std::size_t>(n), r);
  }
  profile.decodes = decodes;
  return profile;
}

TEST(GradeLine, MeasuresEachParameter) {
  struct Case {
    const char* what;
    Profile profile;
    bool fixedModules;
    double rmin, rmax, contrast, edge, modulation, defects, decodability;
    int grade;
  };
  const Case cases[] = {
      // Bars 0.1, spaces 0.9, paper 1.0: SC 0.9, EC 0.8, MOD 0.8/0.9; bar-space pairs 4, 6, 6,
      // 4 samples are 2, 3, 3, 2 modules of 2 exactly.
      {"clean", Runs({{1, 4}, {0.1, 2}, {0.9, 2}, {0.1, 4}, {0.9, 2}, {0.1, 2}, {1, 4}}), true,
       0.1, 1.0, 0.9, 0.8, 0.8 / 0.9, 0, 1, 4},
      {"clean, not decoded",
       Runs({{1, 4}, {0.1, 2}, {0.9, 2}, {0.1, 4}, {0.9, 2}, {0.1, 2}, {1, 4}}, false), true, 0.1,
       1.0, 0.9, 0.8, 0.8 / 0.9, 0, 1, 0},
      // Grey bars on grey paper: SC 0.45 is C; EC 0.40, MOD 0.40/0.45.
      {"low contrast", Runs({{0.8, 4}, {0.35, 2}, {0.75, 2}, {0.35, 2}, {0.8, 4}}), true, 0.35,
       0.8, 0.45, 0.40, 0.40 / 0.45, 0, 1, 2},
      // Spaces 0.6 beside bars 0.1 (above the threshold 0.55): EC 0.5, MOD 0.5/0.9 = 0.56, C.
      {"weak spaces", Runs({{1, 4}, {0.1, 2}, {0.6, 2}, {0.1, 2}, {1, 4}}), true, 0.1, 1.0, 0.9,
       0.5, 0.5 / 0.9, 0, 1, 2},
      // A space with a spot of 0.55 in it: a valley 0.35 deep, defects 0.35/0.9 = 0.39 is F.
      {"a spot in a space", Runs({{1, 3}, {0.1, 2}, {0.9, 1}, {0.55, 1}, {0.9, 1}, {0.1, 2}, {1, 3}}),
       true, 0.1, 1.0, 0.9, 0.8, 0.8 / 0.9, 0.35 / 0.9, 1, 0},
      // Narrow 2 and wide 6 samples: every element on its own mean.
      {"narrow and wide",
       Runs({{1, 4}, {0.1, 2}, {0.9, 2}, {0.1, 6}, {0.9, 2}, {0.1, 2}, {0.9, 6}, {0.1, 2}, {1, 4}}),
       false, 0.1, 1.0, 0.9, 0.8, 0.8 / 0.9, 0, 1, 4},
      // One narrow bar 3 wide: narrow mean 11/5 = 2.2, wide 6, half the gap 1.9, worst off 0.8:
      // decodability 1 - 0.8/1.9 = 0.579, a B.
      {"one bar spread",
       Runs({{1, 4}, {0.1, 3}, {0.9, 2}, {0.1, 6}, {0.9, 2}, {0.1, 2}, {0.9, 6}, {0.1, 2}, {1, 4}}),
       false, 0.1, 1.0, 0.9, 0.8, 0.8 / 0.9, 0, 1 - 0.8 / 1.9, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LineGrade line = GradeLine(c.profile, c.fixedModules);
    EXPECT_NEAR(line.rmin, c.rmin, 1e-9);
    EXPECT_NEAR(line.rmax, c.rmax, 1e-9);
    EXPECT_NEAR(line.symbolContrast, c.contrast, 1e-9);
    EXPECT_NEAR(line.minEdgeContrast, c.edge, 1e-9);
    EXPECT_NEAR(line.modulation, c.modulation, 1e-9);
    EXPECT_NEAR(line.defects, c.defects, 1e-9);
    EXPECT_NEAR(line.decodability, c.decodability, 1e-9);
    EXPECT_EQ(line.grade, c.grade);
  }
}

// A Code 128 line from its element widths in samples (bar first), 4 samples a module, with its
// quiet zones: start B (2 1 1 2 1 4), one character, the stop (2 3 3 1 1 1 2).
Profile Code128Line(std::initializer_list<int> character) {
  std::vector<int> widths{8, 4, 4, 8, 4, 16};
  widths.insert(widths.end(), character);
  widths.insert(widths.end(), {8, 12, 12, 4, 4, 4, 8});
  Profile profile = Runs({{1, 8}});
  for (std::size_t i = 0; i < widths.size(); ++i) {
    profile.samples.insert(profile.samples.end(), static_cast<std::size_t>(widths[i]),
                           i % 2 == 0 ? 0.1 : 0.9);
  }
  profile.samples.insert(profile.samples.end(), 8, 1.0);
  return profile;
}

TEST(GradeLine, MeasuresCode128CharacterByCharacter) {
  struct Case {
    const char* what;
    Profile profile;
    double decodability;
  };
  const Case cases[] = {
      // "0" in set B, 1 2 3 1 2 2 modules: every measurement a whole number of modules.
      {"on nominal", Code128Line({4, 8, 12, 4, 8, 8}), 1},
      // Its 3-module bar one sample narrower and the space after it one wider: 44 samples, a
      // module of 4; space and bar (8 + 11) / 4 = 4.75 and bar and space (11 + 5) / 4 = 4, so
      // 4.75 lies 0.25 from the threshold at 4.5: half of half a module.
      {"a bar a quarter module short", Code128Line({4, 8, 11, 5, 8, 8}), 0.5},
      // The 2-module space 2 samples narrower, the 3-module bar 2 wider: bar and space
      // 4 + 6 = 10 samples are 2.5 modules, on the threshold.
      {"on the threshold", Code128Line({4, 6, 14, 4, 8, 8}), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LineGrade line = GradeLine(c.profile, true, sheet::Symbology::kCode128);
    EXPECT_NEAR(line.decodability, c.decodability, 1e-9);
  }
}

TEST(GradeLine, FailsRminAndEdgeContrastOutright) {
  // Rmin 0.6 above half of Rmax 1.0: F, however good the rest.
  EXPECT_EQ(GradeLine(Runs({{1, 4}, {0.6, 2}, {1, 2}, {0.6, 2}, {1, 4}}), true).grade, 0);
  // Paper 0.45, bars 0.2, a space 0.34 (above the threshold 0.325): edge contrast 0.14 is under
  // 0.15, F, where the contrast of 0.25 alone would give a D.
  const LineGrade weak = GradeLine(Runs({{0.45, 4}, {0.2, 2}, {0.34, 2}, {0.2, 2}, {0.45, 4}}), true);
  EXPECT_NEAR(weak.minEdgeContrast, 0.14, 1e-9);
  EXPECT_EQ(SymbolContrastGrade(weak.symbolContrast), 1);
  EXPECT_EQ(weak.grade, 0);
}

TEST(ParameterGrades, UseTheStandardsThresholds) {
  struct Case {
    double value;
    int contrast, modulation, decodability;
  };
  const Case cases[] = {
      {0.75, 4, 4, 4}, {0.70, 4, 4, 4}, {0.65, 3, 3, 4}, {0.62, 3, 3, 4}, {0.58, 3, 2, 3},
      {0.55, 3, 2, 3}, {0.50, 2, 2, 3}, {0.45, 2, 1, 2}, {0.40, 2, 1, 2}, {0.37, 1, 0, 2},
      {0.30, 1, 0, 1}, {0.25, 1, 0, 1}, {0.20, 1, 0, 0}, {0.10, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(SymbolContrastGrade(c.value), c.contrast);
    EXPECT_EQ(ModulationGrade(c.value), c.modulation);
    EXPECT_EQ(DecodabilityGrade(c.value), c.decodability);
  }
  const std::pair<double, int> defects[] = {{0.0, 4},  {0.15, 4}, {0.18, 3}, {0.20, 3},
                                            {0.22, 2}, {0.25, 2}, {0.28, 1}, {0.30, 1},
                                            {0.31, 0}};
  for (const auto& [value, grade] : defects) {
    EXPECT_EQ(DefectsGrade(value), grade) << value;
  }
}

TEST(GradeSymbol, IsTheMeanOfItsLines) {
  const Profile clean = Runs({{1, 4}, {0.1, 2}, {0.9, 2}, {0.1, 4}, {0.9, 2}, {0.1, 2}, {1, 4}});
  const Profile grey = Runs({{0.8, 4}, {0.35, 2}, {0.75, 2}, {0.35, 2}, {0.8, 4}});
  const Profile undecoded =
      Runs({{1, 4}, {0.1, 2}, {0.9, 2}, {0.1, 4}, {0.9, 2}, {0.1, 2}, {1, 4}}, false);
  // Grades 4, 2 and 0: 2.0, a C.
  const SymbolGrade grade = GradeSymbol({clean, grey, undecoded}, sheet::Symbology::kEan8);
  EXPECT_TRUE(grade.graded);
  EXPECT_EQ(grade.lines, 3);
  EXPECT_NEAR(grade.value, 2.0, 1e-9);
  EXPECT_EQ(grade.letter, 'C');
  EXPECT_NEAR(grade.contrast, (0.9 + 0.45 + 0.9) / 3, 1e-9);
  EXPECT_EQ(GradeText(grade), "grade C (2.0)");
  EXPECT_FALSE(GradeSymbol({}, sheet::Symbology::kEan8).graded);
}

TEST(GradeLetter, RoundsDownToItsBand) {
  const std::pair<double, char> cases[] = {{4.0, 'A'}, {3.5, 'A'}, {3.49, 'B'}, {2.5, 'B'},
                                           {2.4, 'C'}, {1.5, 'C'}, {1.4, 'D'}, {0.5, 'D'},
                                           {0.49, 'F'}, {0.0, 'F'}};
  for (const auto& [value, letter] : cases) {
    EXPECT_EQ(GradeLetter(value), letter) << value;
  }
}

}  // namespace
}  // namespace quorvel::verify
