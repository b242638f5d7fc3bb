#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompter.h"

namespace orvandry::platform {

// Asks with a QMessageBox made for a gloved finger on the 640 x 480 panel: large text and buttons
// at least kButtonHeight pixels high, centred over the parent window.
class QtPrompter final : public Prompter {
 public:
  static constexpr int kButtonHeight = 48;
  static constexpr int kButtonMinWidth = 120;
  static constexpr int kButtonFontPx = 20;
  static constexpr int kTextFontPx = 18;

  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

 protected:
  Answer DoAsk(std::string_view text, std::string_view caption, Buttons buttons,
               Icon icon) override;

 public:
 private:
  QPointer<QWidget> parent_;
};

}  // namespace orvandry::platform
