#pragma once

#include <array>

#include "common/layout.h"

namespace quorvel {

inline constexpr std::string_view kDotMatrixButtonCaption = "EpsonFX /  IBM Proprinter";

/// The main window's controls, top to bottom (twips; tab index -1 takes no focus).
inline constexpr std::array<ControlLayout, 8> kForm1Controls{{
    {"Image1", ControlKind::kPicture, "", 112, 120, 6390, 1170, -1},
    {"Line2", ControlKind::kLine, "", 120, 1320, 6360, 0, -1},
    {"Label1", ControlKind::kLabel, "OCR-B test for printers. ", 112, 1440, 6375, 255, 2,
     ControlFont::kMsSansSerif10},
    {"Label2", ControlKind::kLabel,
     "This tool try to print Barcode font with printer integradet font! It shows you the "
     "ESC-Sequence, wich was used to generate the testprint.",
     112, 1800, 6375, 1095, 3},
    {"Line1", ControlKind::kLine, "", 120, 3000, 6360, 0, -1},
    {"Combo1", ControlKind::kComboBox, "Combo1", 1320, 3240, 3975, 360, 0,
     ControlFont::kMsSansSerif10},
    {"Command1", ControlKind::kButton, kDotMatrixButtonCaption, 1920, 3720, 1215, 495, 1},
    {"Command2", ControlKind::kButton, "PCL", 3480, 3720, 1215, 495, 4},
}};

/// `Form1`: resizable, white, centred on first show; its controls never move.
inline constexpr WindowLayout kForm1Layout{"Form1", 6615, 4365, kForm1Controls};

/// The logo shown by Image1 at its own size.
inline constexpr int kLogoWidthPixels = 426;
inline constexpr int kLogoHeightPixels = 78;

/// Menu captions: "File" > "Exit", "Help" > "About" (no access keys, no shortcuts).
inline constexpr std::string_view kFileMenu = "File";
inline constexpr std::string_view kExitItem = "Exit";
inline constexpr std::string_view kHelpMenu = "Help";
inline constexpr std::string_view kAboutItem = "About";

}  // namespace quorvel
