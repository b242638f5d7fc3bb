#include "platform/prompter.h"

#include <ostream>

namespace orvandry::platform {

Answer Prompter::Ask(std::string_view text, std::string_view caption, Buttons buttons, Icon icon) {
  struct Open {
    int& count;
    explicit Open(int& c) : count(c) { ++count; }
    ~Open() { --count; }
  } open(open_questions_);
  return DoAsk(text, caption, buttons, icon);
}

bool Offers(Buttons buttons, Answer answer) {
  switch (buttons) {
    case Buttons::kOk:
      return answer == Answer::kOk;
    case Buttons::kYesNo:
      return answer == Answer::kYes || answer == Answer::kNo;
    case Buttons::kYesNoCancel:
      return answer == Answer::kYes || answer == Answer::kNo || answer == Answer::kCancel;
    case Buttons::kOkCancel:
      return answer == Answer::kOk || answer == Answer::kCancel;
    case Buttons::kRetryCancel:
      return answer == Answer::kRetry || answer == Answer::kCancel;
  }
  return false;
}

Answer DecliningAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kYesNo:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

std::ostream& operator<<(std::ostream& out, Buttons buttons) {
  constexpr const char* kNames[] = {"OK", "Yes/No", "Yes/No/Cancel", "OK/Cancel", "Retry/Cancel"};
  return out << kNames[static_cast<int>(buttons)];
}

std::ostream& operator<<(std::ostream& out, Icon icon) {
  constexpr const char* kNames[] = {"no icon", "information", "question", "warning", "error"};
  return out << kNames[static_cast<int>(icon)];
}

std::ostream& operator<<(std::ostream& out, Answer answer) {
  constexpr const char* kNames[] = {"OK", "Yes", "No", "Cancel", "Retry"};
  return out << kNames[static_cast<int>(answer)];
}

}  // namespace orvandry::platform
