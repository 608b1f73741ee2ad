#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>

#include "about/about_layout.h"
#include "app/form1_layout.h"

namespace quorvel {
namespace {

TEST(Layout, TwipsBecomePixelsAtTheWindowsDpi) {
  struct Case {
    int twips, dpi, pixels;
  };
  const Case cases[] = {{6615, 96, 441}, {4365, 96, 291},  {5730, 96, 382},  {3555, 96, 237},
                        {15, 96, 1},     {6615, 144, 662}, {4365, 192, 582}, {112, 96, 7}};
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
}

TEST(Layout, CaptionsAndFocusOrder) {
  EXPECT_EQ(kForm1Layout.caption, "Form1");
  EXPECT_EQ(kAboutLayout.caption, "About MyApp");
  EXPECT_EQ(kForm1Controls[6].text, "EpsonFX /  IBM Proprinter");
  EXPECT_EQ(kAboutControls[5].text.size(), 57u);
  EXPECT_EQ(kAboutControls[0].text, kHomePage);
  // Tab order of the main window: Combo1, Command1, Command2 (the labels take no focus).
  std::vector<std::string_view> focusable;
  for (int index = 0; index < 8; ++index) {
    for (const ControlLayout& control : kForm1Controls) {
      if (control.tabIndex == index &&
          (control.kind == ControlKind::kComboBox || control.kind == ControlKind::kButton)) {
        focusable.push_back(control.name);
      }
    }
  }
  EXPECT_EQ(focusable, (std::vector<std::string_view>{"Combo1", "Command1", "Command2"}));
}

// Lines and labels without a designed colour take the system's window-text colour; the rest keep
// their own: the About window's black title and description, grey and white separator.
TEST(Layout, ColoursAreDesignedOrTheSystemsWindowText) {
  struct Case {
    std::span<const ControlLayout> controls;
    std::string_view name;
    std::optional<Rgb> color;
  };
  const Case cases[] = {
      {kForm1Controls, "Line2", std::nullopt},
      {kForm1Controls, "Label1", std::nullopt},
      {kForm1Controls, "Label2", std::nullopt},
      {kForm1Controls, "Line1", std::nullopt},
      {kAboutControls, "Line1(1)", Rgb{128, 128, 128}},
      {kAboutControls, "lblDescription", Rgb{0, 0, 0}},
      {kAboutControls, "lblTitle", Rgb{0, 0, 0}},
      {kAboutControls, "Line1(0)", Rgb{255, 255, 255}},
      {kAboutControls, "lblVersion", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto control = std::find_if(c.controls.begin(), c.controls.end(),
                                      [&](const ControlLayout& k) { return k.name == c.name; });
    ASSERT_NE(control, c.controls.end()) << c.name;
    ASSERT_EQ(control->color.has_value(), c.color.has_value()) << c.name;
    if (c.color) {
      EXPECT_EQ(control->color->red, c.color->red) << c.name;
      EXPECT_EQ(control->color->green, c.color->green) << c.name;
      EXPECT_EQ(control->color->blue, c.color->blue) << c.name;
    }
  }
}

}  // namespace
}  // namespace quorvel
