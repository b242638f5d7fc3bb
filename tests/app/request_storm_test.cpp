// A controller in a loop (a faulty board, a wiring fault) asks for the metering-speed dialog on
// every frame while the moisture-control learning period runs. Ten minutes of it in virtual time,
// against the whole display: a question is asked only once the one before has been answered, and
// nothing piles up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>

#include "app/display.h"
#include "link/frame_constants.h"
#include "link/status_intake.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "sim/controller_core.h"

namespace orvandry::app {
namespace {

// Answers No after the operator has looked at the box for a while; the message loop runs
// meanwhile, as under a real box.
class SlowOperator final : public platform::Prompter {
 public:
  std::function<void()> while_open;
  int asked = 0, answered = 0, open = 0, most_open = 0;

 protected:
  platform::Answer DoAsk(std::string_view, std::string_view, platform::Buttons,
                         platform::Icon) override {
    ++asked;
    most_open = std::max(most_open, ++open);
    if (while_open) while_open();
    --open;
    ++answered;
    return platform::Answer::kNo;
  }
};

TEST(RequestStorm, TenMinutesAskOneQuestionAtATimeAndPileUpNothing) {
  QTemporaryDir data;
  const platform::Paths paths(data.path().toStdString(), data.path().toStdString() + "/usb");
  link::LinkShared shared;
  shell::Settings settings;
  SlowOperator operator_;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  Display display(shared, settings, operator_, store, clock, paths);
  shell::MainWindow& window = display.window();
  window.show();

  sim::Scenario scenario;
  scenario.RequestStorm(0, 3600);
  sim::ControllerCore core(7, scenario);
  link::StatusIntake intake(shared, &window);
  double now = 0;
  std::vector<std::uint8_t> answer;
  auto cycle = [&] {  // one poll cycle: a frame out, the answer in, the message loop run
    now += 0.35;
    answer.clear();
    core.Receive(link::kNullFrame.data(), link::kNullFrame.size(), now, answer);
    ASSERT_EQ(answer.size(), link::kStatusFrameSize);
    intake.Run(answer.data());
    window.HundredMsTick();
    QApplication::processEvents();
  };
  operator_.while_open = [&] {
    for (int i = 0; i < 10; ++i) cycle();  // 3.5 s to read and answer
  };

  for (int i = 0; i < 20; ++i) cycle();
  const auto widgets = QApplication::allWidgets().size();
  const int asked_before = operator_.asked;
  while (now < 620) cycle();

  EXPECT_EQ(operator_.most_open, 1) << "never a question on top of a question";
  EXPECT_EQ(operator_.asked, operator_.answered);
  EXPECT_GT(operator_.asked - asked_before, 100) << "the storm went on all along";
  EXPECT_EQ(QApplication::allWidgets().size(), widgets) << "no window left behind";
}

}  // namespace
}  // namespace orvandry::app
