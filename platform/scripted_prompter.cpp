#include "platform/scripted_prompter.h"

#include <algorithm>
#include <sstream>

namespace orvandry::platform {

Answer ScriptedPrompter::DoAsk(std::string_view text, std::string_view caption, Buttons buttons,
                               Icon icon) {
  Question question{
      std::string(text), std::string(caption), buttons, icon, DecliningAnswer(buttons), false};
  std::ostringstream problem;
  if (script_.empty()) {
    problem << "unscripted question";
  } else {
    const Answer next = script_.front();
    script_.pop_front();
    if (Offers(buttons, next)) {
      question.answer = next;
      question.scripted = true;
    } else {
      problem << "scripted " << next << " is not offered by " << buttons << " question";
    }
  }
  if (!question.scripted) {
    problem << ": \"" << text << "\" (caption \"" << caption << "\"), answered " << question.answer;
    problems_.push_back(problem.str());
  }
  questions_.push_back(std::move(question));
  return questions_.back().answer;
}

std::size_t ScriptedPrompter::CountAsked(std::string_view text) const {
  return static_cast<std::size_t>(std::count_if(questions_.begin(), questions_.end(),
                                                [&](const Question& q) { return q.text == text; }));
}

std::string ScriptedPrompter::Problems() const {
  std::ostringstream out;
  for (const std::string& problem : problems_) out << problem << '\n';
  if (!script_.empty()) {
    out << script_.size() << " scripted answer(s) never asked for:";
    for (Answer a : script_) out << ' ' << a;
    out << '\n';
  }
  return out.str();
}

}  // namespace orvandry::platform
