#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/qt_prompter.h"
#include "platform/scripted_prompter.h"

namespace orvandry::platform {
namespace {

TEST(ScriptedPrompter, AnswersInOrderAndRecordsEveryQuestion) {
  ScriptedPrompter prompter{Answer::kYes, Answer::kNo};
  EXPECT_EQ(
      prompter.Ask("Do you wish to set the metering rolls speed?",
                   " SET METERING SPEED VIA DISPLAY?", Buttons::kYesNoCancel, Icon::kQuestion),
      Answer::kYes);
  EXPECT_EQ(prompter.Ask("Again?", "T", Buttons::kYesNo, kExclamation), Answer::kNo);

  ASSERT_EQ(prompter.Questions().size(), 2u);
  const auto& first = prompter.Questions()[0];
  EXPECT_EQ(first.caption, " SET METERING SPEED VIA DISPLAY?");
  EXPECT_EQ(first.buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(first.icon, Icon::kQuestion);
  EXPECT_EQ(prompter.Last()->icon, Icon::kWarning);
  EXPECT_EQ(prompter.CountAsked("Again?"), 1u);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(ScriptedPrompter, AnUnscriptedQuestionDeclinesAndIsReported) {
  ScriptedPrompter prompter;
  EXPECT_EQ(prompter.Ask("Graph is not available in Batch Drying.",
                         " REQUESTED FUNCTION NOT PERMITTED", Buttons::kOk, Icon::kNone),
            Answer::kOk);
  EXPECT_EQ(prompter.Ask("Delete?", "", Buttons::kYesNo, Icon::kQuestion), Answer::kNo);
  EXPECT_EQ(prompter.Ask("Go on?", "", Buttons::kYesNoCancel, Icon::kQuestion), Answer::kCancel);
  EXPECT_FALSE(prompter.Clean());
  EXPECT_FALSE(prompter.Last()->scripted);
  EXPECT_NE(prompter.Problems().find("unscripted question: \"Delete?\""), std::string::npos)
      << prompter.Problems();
}

TEST(ScriptedPrompter, AnAnswerTheBoxCannotGiveIsAMistakeNotAnAnswer) {
  ScriptedPrompter prompter{Answer::kYes};
  // A lone OK box cannot answer Yes: code that acted on "Yes" here would be wrong.
  EXPECT_EQ(prompter.Ask("Saved.", "", Buttons::kOk, Icon::kInformation), Answer::kOk);
  EXPECT_FALSE(prompter.Clean());
  EXPECT_NE(prompter.Problems().find("not offered"), std::string::npos) << prompter.Problems();
}

TEST(ScriptedPrompter, UnusedAnswersMakeItUnclean) {
  ScriptedPrompter prompter;
  prompter.Script(Answer::kRetry);
  EXPECT_EQ(prompter.UnusedAnswers(), 1u);
  EXPECT_FALSE(prompter.Clean());
  EXPECT_EQ(prompter.Ask("Card missing", "", Buttons::kRetryCancel, Icon::kError), Answer::kRetry);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(Prompter, ButtonSetsOfferTheirAnswers) {
  EXPECT_TRUE(Offers(Buttons::kOkCancel, Answer::kCancel));
  EXPECT_FALSE(Offers(Buttons::kYesNo, Answer::kCancel));
  EXPECT_FALSE(Offers(Buttons::kRetryCancel, Answer::kOk));
  EXPECT_EQ(DecliningAnswer(Buttons::kOkCancel), Answer::kCancel);
  EXPECT_EQ(DecliningAnswer(Buttons::kRetryCancel), Answer::kCancel);
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

TEST(QtPrompter, ShowsTouchSizedButtonsThatFitThePanel) {
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
    EXPECT_EQ(box.windowTitle(), "MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    box.button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(prompter.Ask(text, "MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE",
                         Buttons::kYesNoCancel, kExclamation),
            Answer::kYes);
  EXPECT_EQ(buttons_seen, 3);
}

TEST(QtPrompter, ClosingWithoutAChoiceDeclines) {
  QtPrompter prompter;
  WhenBoxOpens([](QMessageBox& box) { box.reject(); });
  EXPECT_EQ(prompter.Ask("Delete all?", "", Buttons::kYesNo, Icon::kQuestion), Answer::kNo);
  WhenBoxOpens([](QMessageBox& box) { box.button(QMessageBox::Retry)->click(); });
  EXPECT_EQ(prompter.Ask("Insert card", "", Buttons::kRetryCancel, Icon::kError), Answer::kRetry);
}

}  // namespace
}  // namespace orvandry::platform
