#pragma once

#include <QPushButton>
#include <cstdint>

#include "platform/dialog.h"
#include "setup/bracket.h"

namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The five-speed bracket dialog (template 435): the table drawn at the top, each group's INC and
// DEC under its columns, SELECT, SELECT DEFAULTS, ACCEPT / EXIT and CANCEL along the bottom. Every
// button is at least 40 x 40 pixels.
class BracketDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{450, 292};

  BracketDialog(QWidget* parent, shell::ViewContext& context, std::uint8_t metering_mode);

  const Bracket& Brackets() const { return bracket_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  static platform::Rect ControlRect(int id);

  void OnControl(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  shell::ViewContext& context_;
  Bracket bracket_;
};

// Template 435 over `parent`, for the brackets of `metering_mode`; returns when it closes.
void RunBracketDialog(QWidget* parent, shell::ViewContext& context, std::uint8_t metering_mode);
// Template 435 as the shell opens it by number: for the scheme the dryer runs or is being sent.
void RunBracketDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::setup
