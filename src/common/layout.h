#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvel {

/// Window geometry is designed in twips: 1/1440 inch, 15 twips a pixel at 96 dpi.
inline constexpr int kTwipsPerInch = 1440;

/// Pixels for `twips` at `dpi` dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

enum class ControlKind { kPicture, kPictureBox, kLine, kLabel, kComboBox, kButton };

/// How a control's text is drawn.
enum class ControlFont {
  kDefault,       // the window's default GUI/dialog font
  kMsSansSerif10  // MS Sans Serif 9.75 pt, regular, ANSI character set
};

struct Rgb {
  std::uint8_t red, green, blue;
};

/// One control of a window, as designed. For a line, left/top are the start point and
/// width/height the end point minus the start.
struct ControlLayout {
  std::string_view name;
  ControlKind kind;
  std::string_view text;
  int left, top, width, height;
  int tabIndex;  // -1: takes no keyboard focus
  ControlFont font = ControlFont::kDefault;
  // Lines: the pen colour; labels: the text colour. None: the system's window-text colour.
  std::optional<Rgb> color = std::nullopt;
  int lineWidth = 1;  // lines: the pen width in pixels
};

/// A window as designed: caption, client size, and its controls in creation order.
struct WindowLayout {
  std::string_view caption;
  int clientWidth, clientHeight;  // twips
  std::span<const ControlLayout> controls;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

}  // namespace quorvel
