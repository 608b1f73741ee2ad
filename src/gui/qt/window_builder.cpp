#include "gui/qt/window_builder.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace quorvel::qt {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<QColor> DesignedColor(const ControlLayout& control) {
  if (!control.color) {
    return std::nullopt;
  }
  return QColor(control.color->red, control.color->green, control.color->blue);
}

QLabel* MakeLabel(const ControlLayout& control, QWidget* client) {
  auto* label = new QLabel(ToQString(control.text), client);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setMargin(0);
  MakeWhite(label);
  if (const std::optional<QColor> color = DesignedColor(control)) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, *color);
    label->setPalette(palette);
  }
  return label;
}

QComboBox* MakeComboBox(const ControlLayout& control, QWidget* client) {
  auto* combo = new QComboBox(client);
  combo->setEditable(true);
  // The typed text is compared exactly with the device names: no completion may change it, and
  // Enter must not add it to the list.
  combo->setCompleter(nullptr);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setDuplicatesEnabled(true);
  combo->setEditText(ToQString(control.text));
  return combo;
}

QWidget* MakeLine(const ControlLayout& control, QWidget* client) {
  return new LineWidget(DesignedColor(control), client);
}

QWidget* MakeControl(const ControlLayout& control, QWidget* client) {
  switch (control.kind) {
    case ControlKind::kPicture:
      return new ClickableLabel(client);
    case ControlKind::kPictureBox: {
      auto* box = new QLabel(client);
      box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      box->setLineWidth(2);
      box->setAlignment(Qt::AlignCenter);
      box->setFocusPolicy(Qt::StrongFocus);
      return box;
    }
    case ControlKind::kLine:
      return MakeLine(control, client);
    case ControlKind::kLabel:
      return MakeLabel(control, client);
    case ControlKind::kComboBox:
      return MakeComboBox(control, client);
    case ControlKind::kButton:
      return new WrappingPushButton(ToQString(control.text), client);
  }
  return new QWidget(client);
}

// A line's rectangle: from its start point, as long as the line and as thick as its pen.
QRect LineRect(const ControlLayout& control, int dpi) {
  const int x = TwipsToPixels(control.left, dpi);
  const int y = TwipsToPixels(control.top, dpi);
  const int right = TwipsToPixels(control.left + control.width, dpi);
  return QRect(x, y, std::max(1, right - x), std::max(1, control.lineWidth));
}

bool TakesFocus(const ControlLayout& control) {
  return control.tabIndex >= 0 &&
         (control.kind == ControlKind::kComboBox || control.kind == ControlKind::kButton ||
          control.kind == ControlKind::kPictureBox);
}

}  // namespace

int LogicalDpi(const QWidget* widget) {
  const QScreen* screen = widget != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return 96;
  }
  return static_cast<int>(std::lround(screen->logicalDotsPerInch()));
}

QRect PixelRect(const ControlLayout& control, int dpi) {
  return QRect(TwipsToPixels(control.left, dpi), TwipsToPixels(control.top, dpi),
               TwipsToPixels(control.width, dpi), TwipsToPixels(control.height, dpi));
}

QFont MsSansSerifFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(9.75);
  font.setWeight(QFont::Normal);
  return font;
}

void MakeWhite(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, Qt::white);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void LineWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Color());
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      onClick) {
    onClick();
  }
}

void WrappingPushButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);  // frame and focus, without the caption

  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  constexpr int kFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
  QFont captionFont = font();
  while (captionFont.pointSizeF() > 6.0 &&
         !area.contains(QFontMetrics(captionFont).boundingRect(area, kFlags, caption))) {
    captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
  }
  painter.setFont(captionFont);
  painter.drawItemText(area, kFlags, option.palette, isEnabled(), caption, QPalette::ButtonText);
}

std::vector<QWidget*> BuildControls(const WindowLayout& layout, QWidget* client, int dpi) {
  MakeWhite(client);
  std::vector<QWidget*> widgets;
  std::vector<std::pair<int, QWidget*>> focusChain;
  for (const ControlLayout& control : layout.controls) {
    QWidget* widget = MakeControl(control, client);
    widget->setObjectName(ToQString(control.name));
    widget->setGeometry(control.kind == ControlKind::kLine ? LineRect(control, dpi)
                                                           : PixelRect(control, dpi));
    if (control.font == ControlFont::kMsSansSerif10) {
      widget->setFont(MsSansSerifFont());
    }
    if (TakesFocus(control)) {
      focusChain.emplace_back(control.tabIndex, widget);
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    widgets.push_back(widget);
  }
  std::sort(focusChain.begin(), focusChain.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < focusChain.size(); ++i) {
    QWidget::setTabOrder(focusChain[i - 1].second, focusChain[i].second);
  }
  return widgets;
}

}  // namespace quorvel::qt
