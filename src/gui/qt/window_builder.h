#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QWidget>

#include "common/layout.h"

namespace quorvel::qt {

/// The screen's logical dots per inch, which twips are converted at (96 on most desktops; Qt's
/// own high-DPI scaling takes care of the device pixels).
int LogicalDpi(const QWidget* widget = nullptr);

/// A control's rectangle in pixels at `dpi`.
QRect PixelRect(const ControlLayout& control, int dpi);

/// MS Sans Serif 9.75 pt, regular; a sans-serif face of that size where it is not installed.
QFont MsSansSerifFont();

/// A straight horizontal line of a fixed pen width, in its designed colour or, without one, in
/// the palette's window-text colour.
class LineWidget : public QWidget {
 public:
  LineWidget(std::optional<QColor> color, QWidget* parent) : QWidget(parent), color_(color) {}
  QColor Color() const { return color_.value_or(palette().color(QPalette::WindowText)); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<QColor> color_;
};

/// A picture that reports a click on it.
class ClickableLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

/// A push button whose caption wraps at word boundaries inside the button, as designed captions
/// longer than their button do on Windows; a caption that still does not fit is drawn smaller.
class WrappingPushButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

/// Creates `layout`'s controls on `client` (white, fixed positions that never follow resizing),
/// names each widget after its control, and chains the keyboard focus by tab index.
std::vector<QWidget*> BuildControls(const WindowLayout& layout, QWidget* client, int dpi);

/// Paints `widget` white behind whatever it draws.
void MakeWhite(QWidget* widget);

}  // namespace quorvel::qt
