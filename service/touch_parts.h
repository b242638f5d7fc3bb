#pragma once

class QCheckBox;
class QFont;
class QLabel;
class QPushButton;
class QString;
class QWidget;

// Small pieces the service dialogs' widgets share.
namespace orvandry::service {

inline constexpr int kMinTouch = 40;  // the smallest target a gloved finger hits reliably

QFont Bold(const QFont& base, int pixels);

// A push button showing `text` at `font_pixels` bold. The panel has no keyboard: it is never a
// default button and never takes focus.
QPushButton* TouchButton(const QString& text, int font_pixels);

// A tick box that only shows a state: it takes no touches and no focus.
QCheckBox* Indicator(const QString& text, int font_pixels, bool bold = true);

// A read-only value box: sunken, white, centred bold text.
QLabel* ValueBox(int font_pixels);

// Moves a dialog (already centred on its parent) by dx, dy, keeping it on the panel.
void ShiftOnPanel(QWidget& dialog, int dx, int dy);

}  // namespace orvandry::service
