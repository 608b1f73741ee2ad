#pragma once

#include <array>
#include <string>
#include <vector>

#include "sheet/page_model.h"

// What reading a scan yields: the symbols the decoder found, where the sheet lies on the
// picture, and what each expected block's region holds. Pictures stay in the scan module; these
// facts are all the verdicts are made from.
namespace quorvel::verify {

/// A point on the picture (pixels) or on the sheet (inches from its top left corner).
struct Point {
  double x = 0;
  double y = 0;
};

/// A rectangle on the sheet, in inches.
struct Box {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

/// What a block of the sheet should hold: a barcode the printer draws itself, or a run of
/// glyphs in a barcode font (PCL).
struct ExpectedBlock {
  int number = 0;  // 1-based, in the order the job prints them
  bool glyphs = false;
  sheet::Symbology symbology = sheet::Symbology::kEan8;
  sheet::GlyphFont font = sheet::GlyphFont::kCode39;
  std::string data;  // as a decoder reports it: check digits included, Code 128's left out
  Box box;           // where the bars (or glyphs) belong
  double heightInches = 0;
  double moduleInches = 0;
  // How far the ink of each bar spreads into the spaces beside it, as the sheet draws it: a
  // printed bar measures this much more than the head's width, a space this much less.
  double inkInches = 0;
};

/// One page of an expected sheet, as the scan is compared with it.
struct ExpectedPage {
  std::string sheet;  // "dot-matrix", "pcl", or the job file's name
  int page = 0;       // 0-based page of that sheet
  double paperWidthInches = 0;
  double paperHeightInches = 0;
  std::vector<ExpectedBlock> blocks;
  std::vector<Box> texts;  // the printed text lines, for placing a scan by its layout
};

/// A perspective transform, row by row: a sheet point (x, y) is at
/// ((m0 x + m1 y + m2) / w, (m3 x + m4 y + m5) / w), w = m6 x + m7 y + m8, on the picture.
using Homography = std::array<double, 9>;

/// Where the sheet lies on the picture: a sheet point p (inches) is at
/// scale * R(rotation) * p + offset on the picture (pixels), or, once `perspective` is set, where
/// the homography puts it (scale and rotation then hold near the sheet's middle).
struct Placement {
  bool found = false;
  double scale = 0;            // pixels per inch
  double rotationDegrees = 0;  // clockwise as the picture is seen, in (-180, 180]
  Point offset;
  int anchors = 0;  // symbols it was fitted to; 0 when taken from the picture's size
  bool perspective = false;
  Homography homography{};
  bool photo = false;  // the sheet is seen in perspective: photographed, not scanned
  int fitAnchors = 0;  // the points the homography was fitted to, and held to
  int fitInliers = 0;
  double errorInches = 0;  // the fit's miss at those points, on the sheet
  double scaleError = 0;   // the share by which its scale may be off
};

/// One reflectance profile across a symbol: samples from 0 (black) to 1 (white).
struct Profile {
  std::vector<double> samples;
  bool decodes = false;  // the line alone gives the symbol's data
};

/// A symbol the decoder read.
struct FoundSymbol {
  bool known = false;  // one of the symbologies a sheet holds
  sheet::Symbology symbology = sheet::Symbology::kEan8;
  std::string typeName;  // the decoder's own name, for a symbology no sheet holds
  std::string data;
  std::vector<Point> outline;     // on the picture
  Box box;                        // on the sheet, once placed
  double heightInches = 0;        // measured bar height; 0 when it could not be measured
  double moduleInches = 0;        // measured narrowest bar
  int reads = 0;                  // scan lines that read it (the decoder's quality)
  int quarterTurns = -1;          // the decoder's reading direction: 0 upright, 1 turned 90 ...
  bool fromRegion = false;        // read only from its block's region, cut out and cleaned
  int block = 0;                  // the expected block it lies in; 0: none
  std::vector<Profile> profiles;  // scan lines across it, for the grade
  // The picture's resolution where it was measured, across the bars and along them, and the
  // share by which the placement there may be off in scale; 0 where not known.
  double dotsAcross = 0;
  double dotsAlong = 0;
  double scaleError = 0;
};

/// What a block's region holds besides any symbol read there.
struct RegionFinding {
  int block = 0;
  double ink = 0;  // share of dark dots in the region, 0..1
  // A glyph run's region, kColumnsPerCell columns a character: the share of each column that
  // is dark over the glyphs' height.
  std::vector<double> columns;
};

/// One page of the scan.
struct PageFindings {
  int page = 0;  // 0-based page of the scan
  int widthPixels = 0;
  int heightPixels = 0;
  double dpi = 0;     // as the file states it; 0 when it states none
  int expected = -1;  // the ExpectedPage it was matched with; -1: none fits
  Placement placement;
  std::vector<FoundSymbol> symbols;
  std::vector<RegionFinding> regions;
};

struct ScanFindings {
  std::string error;  // empty when the file was read
  std::vector<PageFindings> pages;
};

/// What the scan is compared with.
struct ScanRequest {
  std::vector<ExpectedPage> candidates;
  bool measureProfiles = true;
};

}  // namespace quorvel::verify
