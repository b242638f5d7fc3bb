#pragma once

#include <iosfwd>
#include <string_view>

namespace orvandry::platform {

enum class Buttons { kOk, kYesNo, kYesNoCancel, kOkCancel, kRetryCancel };
enum class Icon { kNone, kInformation, kQuestion, kWarning, kError };
inline constexpr Icon kExclamation = Icon::kWarning;
enum class Answer { kOk, kYes, kNo, kCancel, kRetry };

// Whether a box with these buttons can give this answer.
bool Offers(Buttons buttons, Answer answer);
// The answer that does nothing: what closing the box without a choice means (OK for a lone OK
// button, No for Yes/No, Cancel otherwise).
Answer DecliningAnswer(Buttons buttons);

// Asks the operator a question in a modal message box and waits for the answer. Texts are the
// panel's Latin-1; "\n" inside is a line break of the message.
//
// The box runs a message loop of its own, so ticks and queued calls go on while it is open; the
// shell asks Asking() before it lets anything else raise a question or open a dialog on top.
class Prompter {
 public:
  virtual ~Prompter() = default;
  Answer Ask(std::string_view text, std::string_view caption, Buttons buttons, Icon icon);
  // True while a question is open (Ask has not returned yet).
  bool Asking() const { return open_questions_ > 0; }

 protected:
  virtual Answer DoAsk(std::string_view text, std::string_view caption, Buttons buttons,
                       Icon icon) = 0;

 private:
  int open_questions_ = 0;
};

// What a dialog says when a change cannot go out because the dryer has not reported its settings
// since start-up (link::SettingEdit's kNotConnected).
inline constexpr const char* kNotConnectedText =
    "The dryer has not reported its settings yet.\nNothing was sent. Try again when the dryer's "
    "values are shown.";
inline constexpr const char* kNotConnectedCaption = " NO CONNECTION TO DRYER";
inline void TellNotConnected(Prompter& prompter) {
  prompter.Ask(kNotConnectedText, kNotConnectedCaption, Buttons::kOk, kExclamation);
}

std::ostream& operator<<(std::ostream& out, Buttons buttons);
std::ostream& operator<<(std::ostream& out, Icon icon);
std::ostream& operator<<(std::ostream& out, Answer answer);

}  // namespace orvandry::platform
