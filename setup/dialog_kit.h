#pragma once

class QFont;
class QLabel;
class QPushButton;
class QString;
class QWidget;

// Small pieces the setup dialogs' widgets share.
namespace orvandry::setup {

// `base` at `pixels` pixels, bold: the dialogs' titles, values and button texts.
QFont Bold(const QFont& base, int pixels);

// A push button named `name` showing `text`. The panel has no keyboard: it is never a default
// button and never takes focus, so Enter can never pick it on its own.
QPushButton* TouchButton(const QString& text, const QString& name);

// A read-only value box: sunken, white, centred bold text of `font_pixels` pixels.
QLabel* ValueBox(int font_pixels);

// Centres `dialog` on the panel (its parent's window) and lifts it `above` pixels, never past the
// panel's top-left corner. A dialog without a parent stays where it is.
void PlaceAboveCentre(QWidget& dialog, int above);

}  // namespace orvandry::setup
