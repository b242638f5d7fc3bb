#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompter.h"

namespace orvandry::platform {

// A Prompter for tests: answers from a script and remembers every question.
//
// A question without a scripted answer, or a scripted answer the box does not offer, is a mistake
// in the test or in the code under test. It never blocks or throws: the question gets the declining
// answer (so the code takes its "do nothing" path), and the mistake is kept. A test ends with
//   EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
// which also fails when scripted answers were left unused.
class ScriptedPrompter final : public Prompter {
 public:
  struct Question {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::kOk;
    Icon icon = Icon::kNone;
    Answer answer = Answer::kOk;  // what Ask returned
    bool scripted = true;         // false: no usable scripted answer, the declining one was given
  };

  ScriptedPrompter() = default;
  ScriptedPrompter(std::initializer_list<Answer> answers) : script_(answers) {}

  // Queues answers for the next questions, in order.
  void Script(Answer answer) { script_.push_back(answer); }

 protected:
  Answer DoAsk(std::string_view text, std::string_view caption, Buttons buttons,
               Icon icon) override;

 public:
  const std::vector<Question>& Questions() const { return questions_; }
  // The last question asked; null when none was.
  const Question* Last() const { return questions_.empty() ? nullptr : &questions_.back(); }
  // How many times exactly this text was asked.
  std::size_t CountAsked(std::string_view text) const;
  std::size_t UnusedAnswers() const { return script_.size(); }

  // True when every question had a fitting scripted answer and every answer was used.
  bool Clean() const { return problems_.empty() && script_.empty(); }
  // Every mistake, one per line, for the failure message.
  std::string Problems() const;

 private:
  std::deque<Answer> script_;
  std::vector<Question> questions_;
  std::vector<std::string> problems_;
};

}  // namespace orvandry::platform
