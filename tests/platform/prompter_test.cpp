#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "platform/qt_prompter.h"
#include "platform/scripted_prompter.h"

namespace orvandry::platform {
namespace {

TEST(ScriptedPrompter, AnswersInOrderAndReportsEveryMisuse) {
  ScriptedPrompter prompter{Answer::kYes, Answer::kYes, Answer::kRetry};
  EXPECT_EQ(prompter.Ask("Set the metering rolls speed?", " SET METERING SPEED VIA DISPLAY?",
                         Buttons::kYesNoCancel, Icon::kQuestion),
            Answer::kYes);
  EXPECT_EQ(prompter.Questions()[0].caption, " SET METERING SPEED VIA DISPLAY?");
  EXPECT_EQ(prompter.Last()->buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(prompter.UnusedAnswers(), 2u);
  EXPECT_FALSE(prompter.Clean()) << "answers left over";

  // A lone OK box cannot answer Yes: code that acted on "Yes" here would be wrong.
  EXPECT_EQ(prompter.Ask("Saved.", "", Buttons::kOk, Icon::kInformation), Answer::kOk);
  EXPECT_NE(prompter.Problems().find("not offered"), std::string::npos) << prompter.Problems();
  EXPECT_EQ(prompter.Ask("Card missing", "", Buttons::kRetryCancel, Icon::kError), Answer::kRetry);

  // Unscripted questions decline, whatever the box offers, and are reported.
  EXPECT_EQ(prompter.Ask("Delete?", "", Buttons::kYesNo, Icon::kQuestion), Answer::kNo);
  EXPECT_EQ(prompter.Ask("Go on?", "", Buttons::kYesNoCancel, Icon::kQuestion), Answer::kCancel);
  EXPECT_EQ(prompter.Ask("Not permitted.", "", Buttons::kOk, Icon::kNone), Answer::kOk);
  EXPECT_FALSE(prompter.Last()->scripted);
  EXPECT_NE(prompter.Problems().find("unscripted question: \"Delete?\""), std::string::npos)
      << prompter.Problems();
  EXPECT_FALSE(prompter.Clean());
}

// Runs `act` on the message box once it is open.
void WhenBoxOpens(std::function<void(QMessageBox&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start();
}

TEST(QtPrompter, ShowsTouchSizedButtonsThatFitThePanelAndClosingDeclines) {
  QWidget screen;
  screen.setGeometry(0, 0, 640, 480);
  screen.show();
  QtPrompter prompter(&screen);
  const char* text =
      "The Moisture Control learning period has not expired.  Modifying the MC Setpoint is not "
      "recommended until the learning period is complete.  Do wish to modify the moisture control "
      "setpoint? <b>";
  int buttons_seen = 0;
  WhenBoxOpens([&](QMessageBox& box) {
    for (QAbstractButton* button : box.buttons()) {
      ++buttons_seen;
      EXPECT_GE(button->height(), 40) << button->text().toStdString();
      EXPECT_GE(button->width(), 40);
    }
    EXPECT_LE(box.width(), 640);
    EXPECT_LE(box.height(), 480);
    EXPECT_EQ(box.windowTitle(), "LEARNING PERIOD STILL ACTIVE");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    box.button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(prompter.Ask(text, "LEARNING PERIOD STILL ACTIVE", Buttons::kYesNoCancel, kExclamation),
            Answer::kYes);
  EXPECT_EQ(buttons_seen, 3);

  WhenBoxOpens([](QMessageBox& box) { box.reject(); });
  EXPECT_EQ(prompter.Ask("Delete all?", "", Buttons::kYesNo, Icon::kQuestion), Answer::kNo);
}

}  // namespace
}  // namespace orvandry::platform
