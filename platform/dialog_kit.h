#pragma once

class QFont;
class QCheckBox;
class QLabel;
class QPushButton;
class QString;
class QWidget;

// Small pieces every dialog's widget shares.
namespace orvandry::platform {

inline constexpr int kMinTouch = 40;  // the smallest target a gloved finger hits reliably

// `base` at `pixels` pixels, bold: the dialogs' titles, values and button texts.
QFont Bold(const QFont& base, int pixels);

// A push button named `name` showing `text`. The panel has no keyboard: it is never a default
// button and never takes focus, so Enter can never pick it on its own.
QPushButton* TouchButton(const QString& text, const QString& name);
// The same at `font_pixels` bold, named by its text (line breaks as spaces).
QPushButton* TouchButton(const QString& text, int font_pixels);

// A tick box that only shows a state: it takes no touches and no focus.
QCheckBox* Indicator(const QString& text, int font_pixels, bool bold = true);

// A read-only value box: sunken, white, centred bold text of `font_pixels` pixels.
QLabel* ValueBox(int font_pixels);

// Centres `dialog` on the panel (its parent's window) and lifts it `above` pixels, never past the
// panel's top-left corner. A dialog without a parent stays where it is.
void PlaceAboveCentre(QWidget& dialog, int above);

// Moves a dialog (already placed) by dx, dy, keeping it on the panel.
void ShiftOnPanel(QWidget& dialog, int dx, int dy);

}  // namespace orvandry::platform
