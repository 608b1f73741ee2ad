#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sheet/page_model.h"
#include "verify/scan_findings.h"

// An indicative print-quality grade for a linear symbol, computed the way ISO/IEC 15416 grades
// one from its scan reflectance profiles. Indicative only: a scan is not a calibrated verifier
// (its aperture, light and reflectance are not measured).
namespace quorvel::verify {

/// The parameters of one scan line and its grade, 4 (A) to 0 (F).
struct LineGrade {
  double rmin = 0;
  double rmax = 0;
  double symbolContrast = 0;   // Rmax - Rmin
  double minEdgeContrast = 0;  // the least step between a bar and the space beside it
  double modulation = 0;       // minEdgeContrast / symbolContrast
  double defects = 0;          // the worst element's reflectance non-uniformity / symbolContrast
  double decodability = 0;     // 1: every element width on its nominal; 0: at the limit
  bool decodes = false;
  int grade = 0;
};

/// A symbol's grade: the mean of its lines' grades, its letter, and the lines' means.
struct SymbolGrade {
  bool graded = false;  // at least one line to grade
  double value = 0;     // 0.0 to 4.0
  char letter = 'F';
  double contrast = 0;
  double modulation = 0;
  double defects = 0;
  double decodability = 0;
  int lines = 0;
};

/// The grade 4..0 of each parameter, with the standard's thresholds.
int SymbolContrastGrade(double symbolContrast);
int ModulationGrade(double modulation);
int DefectsGrade(double defects);
int DecodabilityGrade(double decodability);

/// A grade's letter: 4 A, 3 B, 2 C, 1 D, 0 F; a mean is rounded down to its letter's band
/// (A from 3.5, B from 2.5, C from 1.5, D from 0.5).
char GradeLetter(double value);

/// Grades one profile, its samples left to right across the symbol with its quiet zones.
/// `fixedModules`: true where each element is a whole number of modules (EAN/UPC, Code 128),
/// false where elements are narrow or wide (Code 39, 2 of 5).
LineGrade GradeLine(const Profile& profile, bool fixedModules);
/// The same for a symbol of `symbology`: where its elements fall into that symbology's
/// characters (EAN/UPC, Code 128), decodability is measured character by character against the
/// reference thresholds, each character's own width giving its module.
LineGrade GradeLine(const Profile& profile, bool fixedModules,
                    std::optional<sheet::Symbology> symbology);

/// Grades a symbol from its profiles (the mean of their grades).
SymbolGrade GradeSymbol(const std::vector<Profile>& profiles, sheet::Symbology symbology);

/// The symbol grade's line in reports: "grade B (3.1)".
std::string GradeText(const SymbolGrade& grade);

}  // namespace quorvel::verify
