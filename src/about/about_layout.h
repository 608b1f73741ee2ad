#pragma once

#include <array>

#include "common/layout.h"
#include "quorvel_version.h"

#ifndef QUORVEL_HOME_PAGE
#define QUORVEL_HOME_PAGE "https://quorvel.example.org/"
#endif

namespace quorvel {

/// The maker's home page: the About window's button caption and the address it opens. Set by the
/// build (CMake cache variable QUORVEL_HOME_PAGE).
inline constexpr std::string_view kHomePage = QUORVEL_HOME_PAGE;

/// The About window's controls in creation order (twips; tab index -1 takes no focus). Line1(1) is
/// the grey separator, Line1(0) the white one beneath it.
inline constexpr std::array<ControlLayout, 9> kAboutControls{{
    {"Command1", ControlKind::kButton, kHomePage, 960, 2880, 3015, 495, 6},
    {"picIcon", ControlKind::kPictureBox, "", 240, 240, 540, 540, 1},
    {"cmdOK", ControlKind::kButton, "OK", 4245, 2625, 1260, 345, 0},
    {"cmdSysInfo", ControlKind::kButton, "&System Info...", 4260, 3075, 1245, 345, 2},
    {"Line1(1)", ControlKind::kLine, "", 90, 2445, 5564, 0, -1, ControlFont::kDefault,
     Rgb{128, 128, 128}, 1},
    {"lblDescription", ControlKind::kLabel,
     "Send teststring to printer to check its Barcode ability. ", 1050, 1125, 3885, 1170, 3,
     ControlFont::kDefault, kBlack},
    {"lblTitle", ControlKind::kLabel, "Quorvel", 1050, 240, 3885, 480, 4, ControlFont::kDefault,
     kBlack},
    {"Line1(0)", ControlKind::kLine, "", 105, 2460, 5549, 0, -1, ControlFont::kDefault, kWhite, 2},
    {"lblVersion", ControlKind::kLabel, QUORVEL_ABOUT_VERSION_TEXT, 1050, 780, 3885, 225, 5},
}};

/// `frmAbout`: fixed dialog frame, no task bar button, white, centred on first show; cmdOK is
/// both the default and the cancel button and has the focus when it opens.
inline constexpr WindowLayout kAboutLayout{"About MyApp", 5730, 3555, kAboutControls};

}  // namespace quorvel
