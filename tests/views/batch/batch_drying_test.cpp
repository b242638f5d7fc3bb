#include "views/batch/batch_drying.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdio>

#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "views/batch/batch_drying_window.h"
#include "views/view_fixture.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using link::Rec;
using platform::Answer;
using platform::Bgr;
using platform::Font;
using platform::RecordingCanvas;
using platform::Rect;
using platform::TextCall;

constexpr platform::Colour kDry = Bgr(0x00C8C8);
// The cool timer's blue (0xFA0000) is drawn in the lighter blue on the black panel.
constexpr platform::Colour kCool = platform::Rgb(0x50, 0x8C, 0xFF);
constexpr platform::Colour kUnload = Bgr(0x00FA00);
constexpr unsigned kRight = platform::kAlignRight;
constexpr unsigned kLeft = platform::kAlignLeft;
constexpr unsigned kCentre = platform::kAlignCentre;

// A face narrow enough for every text to fit its column at the given font, as on the panel.
platform::Size NarrowFace(std::string_view text, Font font) {
  return {static_cast<int>(text.size()) * font.height / 3, font.height};
}

// Staged batch drying with every timer part-way through.
class BatchDrying : public ::testing::Test {
 protected:
  BatchDrying() {
    s.Set(sm::kBatchSelector, 1);
    s.SetTime(sm::kDryTimerRunning, 37, 9);
    s.SetTime(sm::kDryTimerReload, 45, 5);
    s.SetTime(sm::kLoHeatDryTimerRunning, 112, 40);
    s.SetTime(sm::kLoHeatDryTimerReload, 120, 0);
    s.SetTime(sm::kCoolTimerRunning, 18, 2);
    s.SetTime(sm::kCoolTimerReload, 20, 5);
    s.SetTime(sm::kUnloadTimerRunning, 4, 59);
    s.SetTime(sm::kUnloadTimerReload, 10, 0);
  }
  void SetAveraging() {
    s.Set(sm::kConfigBits, 0x40);
    s.Set(sm::kMeteringMode, 0x06 | 0x80);  // other bits of the mode byte do not matter
    s.Set(sm::kDryerActivity, 0x20);
  }
  RecordingCanvas& Paint() {
    canvas = RecordingCanvas({396, 181}, NarrowFace);
    PaintBatchDrying(canvas, s);
    return canvas;
  }
  struct Expected {
    const char* text;
    Rect rect;
    Font font;
    platform::Colour colour;
    unsigned alignment;
  };
  void ExpectTexts(std::initializer_list<Expected> texts) {
    for (const Expected& e : texts) {
      const TextCall* call = canvas.FindText(e.text);
      ASSERT_NE(call, nullptr) << e.text << " in\n" << canvas.Describe();
      EXPECT_EQ(call->rect, e.rect) << e.text;
      EXPECT_EQ(call->font, e.font) << e.text;
      EXPECT_EQ(call->colour, e.colour) << e.text;
      EXPECT_EQ(call->HorizontalAlignment(), e.alignment) << e.text;
    }
  }

  testing::ViewWorld world;
  link::LinkShared& shared = world.shared;
  link::ByteImage& s = world.state();
  RecordingCanvas canvas;
};

TEST_F(BatchDrying, SingleLayoutShowsRunningAndReloadValues) {
  Paint();
  ExpectTexts({
      {"37", Rect::FromEdges(0, 15, 90, 90), {66, 900}, kDry, kRight},
      {"09", Rect::FromEdges(90, 55, 150, 135), {32, 900}, kDry, kLeft},
      {"18", Rect::FromEdges(120, 15, 220, 90), {66, 900}, kCool, kRight},
      {"59", Rect::FromEdges(350, 55, 410, 135), {32, 900}, kUnload, kLeft},
      {"45 Min 05 Sec", Rect::FromEdges(0, 0, 126, 20), {18, 400}, kDry, kCentre},
      {"20 Min 05 Sec", Rect::FromEdges(126, 0, 259, 20), {18, 400}, kCool, kCentre},
      {"10 Min 00 Sec", Rect::FromEdges(259, 0, 400, 20), {18, 400}, kUnload, kCentre},
  });
  EXPECT_EQ(canvas.Count<TextCall>(), 9U) << "no low-heat timer in the single layout";
  EXPECT_EQ(canvas.Count<platform::LineCall>(), 3U);
}

TEST_F(BatchDrying, DualLayoutSplitsTheDryColumn) {
  s.Set(sm::kConfigBits, 0x02);
  Paint();
  ExpectTexts({
      {"37", Rect::FromEdges(0, 20, 70, 60), {32, 900}, kDry, kRight},
      {"112", Rect::FromEdges(0, 107, 70, 147), {32, 900}, kDry, kRight},
      {"40", Rect::FromEdges(75, 117, 150, 147), {20, 900}, kDry, kLeft},
      {"120 Min 00 Sec", Rect::FromEdges(0, 87, 126, 107), {18, 400}, kDry, kCentre},
      {"18", Rect::FromEdges(120, 15, 220, 90), {66, 900}, kCool, kRight},
  });
  EXPECT_EQ(canvas.Count<TextCall>(), 12U);
  const auto lines = canvas.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 5U);
  EXPECT_EQ(lines[2]->from, (platform::Point{0, 87}));
  EXPECT_EQ(lines[2]->to, (platform::Point{126, 87}));
}

TEST_F(BatchDrying, AveragingReplacesTheDryTimeUnlessAnyBlockingBitIsSet) {
  SetAveraging();
  Paint();
  ExpectTexts({{"AVERAGING", Rect::FromEdges(0, 25, 130, 65), {16, 400}, kDry, kCentre},
               {"INCOMING", Rect::FromEdges(0, 40, 130, 95), {16, 400}, kDry, kCentre},
               {"MOISTURE", Rect::FromEdges(0, 55, 130, 70), {16, 400}, kDry, kCentre}});
  EXPECT_EQ(canvas.FindText("37"), nullptr);
  EXPECT_EQ(canvas.FindText("09"), nullptr);
  EXPECT_NE(canvas.FindText("45 Min 05 Sec"), nullptr) << "the reload value stays";

  const std::pair<std::size_t, std::uint8_t> blockers[] = {
      {sm::kDryerActivity, 0xA0}, {sm::kBatchBits13, 0x01}, {256, 0x01},
      {sm::kMeteringMode, 0x05},  {sm::kConfigBits, 0x00},  {sm::kConfigBits, 0x42}};  // dual
  for (auto [offset, value] : blockers) {
    SCOPED_TRACE(offset);
    SetAveraging();
    s.Set(offset, value);
    Paint();
    EXPECT_EQ(canvas.FindText("AVERAGING"), nullptr);
    EXPECT_NE(canvas.FindText("37"), nullptr);
  }
}

TEST_F(BatchDrying, TextsTooWideForTheirColumnShrinkInsteadOfLosingDigits) {
  s.Set(sm::kConfigBits, 0x02);
  s.SetTime(sm::kDryTimerRunning, 200, 0);
  RecordingCanvas dual({396, 181});  // the approximate face: wider than the panel's
  PaintBatchDrying(dual, s);
  for (const TextCall* call : dual.All<TextCall>()) {
    ASSERT_TRUE(call->rect.has_value());
    EXPECT_LE(platform::ApproximateTextSize(call->text, call->font).w, call->rect->w)
        << call->text << " at " << *call->rect;
  }
  const TextCall* low_reload = dual.FindText("120 Min 00 Sec");
  ASSERT_NE(low_reload, nullptr);
  EXPECT_LT(low_reload->font.height, 18);
  EXPECT_GE(low_reload->font.height, 14) << "shrunk only as far as needed";
  EXPECT_EQ(low_reload->font.weight, 400) << "the weight floor";
  EXPECT_EQ(dual.FindText("200")->font.height, 32) << "fits as it is";

  s.Set(sm::kConfigBits, 0x00);
  RecordingCanvas single({396, 181});
  PaintBatchDrying(single, s);
  const TextCall* big = single.FindText("200");
  ASSERT_NE(big, nullptr);
  EXPECT_LT(big->font.height, 66);
  EXPECT_GE(big->font.height, 40);
}

// Byte 8 (the batch selector) 0 shows DRY; 3 shows HI HEAT and LO HEAT; any other value follows
// the dual dry-timer bit.
TEST_F(BatchDrying, ButtonVisibilityFollowsSelectorAndDualBit) {
  const BatchButtonVisibility dry_only{false, false, true};
  const BatchButtonVisibility split{true, true, false};
  struct Case {
    std::uint8_t selector, config;
    BatchButtonVisibility shown;
  };
  const Case cases[] = {{0, 0x00, dry_only}, {0, 0x02, dry_only},  {3, 0x00, split},
                        {3, 0x02, split},    {1, 0xFD, dry_only},  {1, 0x02, split},
                        {2, 0x02, split},    {255, 0xFD, dry_only}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.selector) + "/" + std::to_string(c.config));
    s.Set(sm::kBatchSelector, c.selector);
    s.Set(sm::kConfigBits, c.config);
    EXPECT_EQ(BatchTimerButtons(s), c.shown);
  }
}

TEST_F(BatchDrying, ShortTouchFillsTheEntryWithThatTimersLimits) {
  struct Case {
    int button;
    Rec record;
    std::size_t offset;
    int max_minutes, default_minutes, minutes, seconds;
  };
  const Case cases[] = {
      {batch_id::kDry, Rec::kDryTimerReload, sm::kDryTimerReload, 200, 60, 45, 5},
      {batch_id::kHiHeat, Rec::kDryTimerReload, sm::kDryTimerReload, 200, 60, 45, 5},
      {batch_id::kLoHeat, Rec::kLoHeatTimerReload, sm::kLoHeatDryTimerReload, 200, 60, 120, 0},
      {batch_id::kCool, Rec::kCoolTimerReload, sm::kCoolTimerReload, 60, 20, 20, 5},
      {batch_id::kUnload, Rec::kUnloadTimerReload, sm::kUnloadTimerReload, 60, 10, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    const std::optional<setup::TimerEntry> entry = OpenBatchTimerEntry(shared, c.button);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->record, c.record);
    EXPECT_EQ(entry->TargetOffset(), c.offset);
    EXPECT_EQ(entry->max_minutes, c.max_minutes);
    EXPECT_EQ(entry->default_minutes, c.default_minutes);
    EXPECT_EQ(entry->max_seconds + entry->min_minutes + entry->min_seconds + entry->default_seconds,
              0);
    EXPECT_EQ(entry->minutes, c.minutes);
    EXPECT_EQ(entry->seconds, c.seconds);
  }
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_FALSE(OpenBatchTimerEntry(shared, 34817).has_value());
}

TEST_F(BatchDrying, HoldingAButtonAsksOnceEverySecondTickAndNoChangesNothing) {
  BatchReloadHolds holds;
  const BatchReloadHolds::Held cool{.cool = true};
  // Short presses, or a release between ticks, ask nothing.
  for (auto held : {cool, BatchReloadHolds::Held{}, cool, BatchReloadHolds::Held{}})
    EXPECT_TRUE(holds.Tick(held, shared, world.prompter).empty());
  world.prompter.Script(Answer::kNo);
  world.prompter.Script(Answer::kNo);
  // Held on: asked on the second tick and again every second tick after.
  std::vector<std::vector<int>> asked;
  for (int i = 0; i < 5; ++i) asked.push_back(holds.Tick(cool, shared, world.prompter));
  EXPECT_EQ(asked,
            (std::vector<std::vector<int>>{{}, {batch_id::kCool}, {}, {batch_id::kCool}, {}}));
  const auto& question = world.prompter.Questions()[0];
  EXPECT_EQ(question.text, "Reload COOL TIMER with 20 minutes and 05 seconds?");
  EXPECT_EQ(question.caption, "RELOAD TIMER REQUEST");
  EXPECT_EQ(question.buttons, platform::Buttons::kYesNo);
  EXPECT_EQ(question.icon, platform::Icon::kQuestion);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerRunning), 0);
  EXPECT_TRUE(world.prompter.Clean()) << world.prompter.Problems();
}

TEST_F(BatchDrying, YesRaisesOnlyTheRunningValueOfThatTimer) {
  struct Case {
    BatchReloadHolds::Held held;
    Rec running;
    int minutes, seconds;  // the reload value
    const char* timer;
  };
  const Case cases[] = {
      {{.dry = true}, Rec::kDryTimerRunning, 45, 5, "DRY TIMER"},
      {{.hi_heat = true}, Rec::kDryTimerRunning, 45, 5, "HI-HEAT DRY TIMER"},
      {{.lo_heat = true}, Rec::kLoHeatTimerRunning, 120, 0, "LO-HEAT DRY TIMER"},
      {{.cool = true}, Rec::kCoolTimerRunning, 20, 5, "COOL TIMER"},
      {{.unload = true}, Rec::kUnloadTimerRunning, 10, 0, "UNLOAD TIMER"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timer);
    link::LinkShared fresh;
    for (std::size_t i = 0; i < link::ByteImage::size(); ++i) fresh.dryer_state.Set(i, s.Get(i));
    BatchReloadHolds holds;
    platform::ScriptedPrompter yes{Answer::kYes};
    holds.Tick(c.held, fresh, yes);
    holds.Tick(c.held, fresh, yes);
    char question[96];
    std::snprintf(question, sizeof question, "Reload %s with %d minutes and %02d seconds?", c.timer,
                  c.minutes, c.seconds);
    ASSERT_NE(yes.Last(), nullptr);
    EXPECT_EQ(yes.Last()->text, question);
    for (std::size_t r = 0; r < link::kPendingWriteCount; ++r)
      EXPECT_EQ(fresh.pending.IsRaised(static_cast<Rec>(r)), static_cast<Rec>(r) == c.running) << r;
    const std::size_t running = link::RecordOf(c.running).target_offset();
    EXPECT_EQ(fresh.request.Get(running), c.minutes);
    EXPECT_EQ(fresh.request.Get(running + 1), c.seconds);
  }
}

// A prompter that, like the real modal box, lets the 1 s tick run while the question is open.
class TickingPrompter final : public platform::Prompter {
 public:
  TickingPrompter(BatchReloadHolds& holds, link::LinkShared& shared)
      : holds_(holds), shared_(shared) {}
  int asked = 0;
  std::size_t nested_asks = 0;

 protected:
  Answer DoAsk(std::string_view, std::string_view, platform::Buttons, platform::Icon) override {
    ++asked;
    for (int i = 0; i < 4; ++i) nested_asks += holds_.Tick({.cool = true}, shared_, *this).size();
    return Answer::kYes;
  }

 private:
  BatchReloadHolds& holds_;
  link::LinkShared& shared_;
};

TEST_F(BatchDrying, TicksWhileTheQuestionIsOpenAskNothingMore) {
  BatchReloadHolds holds;
  TickingPrompter ticking(holds, shared);
  holds.Tick({.cool = true}, shared, ticking);
  holds.Tick({.cool = true}, shared, ticking);
  EXPECT_EQ(ticking.asked, 1);
  EXPECT_EQ(ticking.nested_asks, 0U);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCoolTimerRunning));
}

// ---- The window ----------------------------------------------------------------------------

const shell::WindowDef& BatchDef() {
  for (const shell::WindowDef& def : shell::kChildWindows)
    if (def.win == shell::Win::kBatchDrying) return def;
  throw std::logic_error("no batch drying window in the table");
}

void SendMouse(QWidget* widget, QEvent::Type type) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

class BatchDryingWindowTest : public BatchDrying {
 protected:
  BatchDryingWindowTest() {
    window.SetDialogOpener([this](setup::TimerEntry& entry) { opened.push_back(entry); });
  }
  bool Shown(int id) { return window.Button(id)->isVisibleTo(&window); }
  std::string ShownButtons() {
    std::string shown;
    for (int id :
         {batch_id::kHiHeat, batch_id::kLoHeat, batch_id::kDry, batch_id::kCool, batch_id::kUnload})
      if (Shown(id)) shown += window.Button(id)->text().toStdString() + ";";
    return shown;
  }

  BatchDryingWindow window{nullptr, BatchDef(), world.ctx};
  std::vector<setup::TimerEntry> opened;
};

TEST_F(BatchDryingWindowTest, ButtonsFollowTheSelectorOnUpdateAndOnEveryPaint) {
  // Created with HI HEAT, LO HEAT and DRY hidden until the first set-up.
  EXPECT_EQ(ShownButtons(), "COOL;UNLOAD;");
  EXPECT_EQ(window.Button(batch_id::kDry)->geometry(),
            QRect(5, 110, 110, 55).translated(window.ClientRect().x, window.ClientRect().y));
  s.Set(sm::kConfigBits, 0x02);
  s.Set(sm::kBatchSelector, 0);
  window.UpdateButtons();
  EXPECT_EQ(ShownButtons(), "DRY;COOL;UNLOAD;");
  s.Set(sm::kBatchSelector, 1);
  window.UpdateButtons();
  EXPECT_EQ(ShownButtons(), "HI HEAT;LO HEAT;COOL;UNLOAD;");
  s.Set(sm::kConfigBits, 0x00);
  window.Render();  // a paint sets the buttons up too
  EXPECT_EQ(ShownButtons(), "DRY;COOL;UNLOAD;");
  s.Set(sm::kBatchSelector, 3);
  window.Render();
  EXPECT_EQ(ShownButtons(), "HI HEAT;LO HEAT;COOL;UNLOAD;");
}

TEST_F(BatchDryingWindowTest, ShortTouchOpensTheEntryButALongPressAsksAndOpensNothing) {
  window.UpdateButtons();
  QPushButton* cool = window.Button(batch_id::kCool);
  cool->click();
  ASSERT_EQ(opened.size(), 1U);
  EXPECT_EQ(opened[0].record, link::Rec::kCoolTimerReload);
  EXPECT_EQ(opened[0].max_minutes, 60);
  EXPECT_EQ(opened[0].minutes, 20);
  opened.clear();

  world.prompter.Script(Answer::kYes);
  SendMouse(cool, QEvent::MouseButtonPress);
  ASSERT_TRUE(cool->isDown());
  window.HandleHeldButtons();
  EXPECT_TRUE(world.prompter.Questions().empty());
  window.HandleHeldButtons();
  ASSERT_EQ(world.prompter.Questions().size(), 1U);
  EXPECT_FALSE(cool->isDown());
  window.HandleHeldButtons();  // the finger is still there for half a second
  SendMouse(cool, QEvent::MouseButtonRelease);
  EXPECT_TRUE(opened.empty()) << "the long press is not also a short touch";
  EXPECT_EQ(world.prompter.Questions().size(), 1U);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kCoolTimerRunning));
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerRunning), 20);
  EXPECT_TRUE(world.prompter.Clean()) << world.prompter.Problems();

  // A hidden button is never held: HI HEAT pressed while DRY shows.
  window.Button(batch_id::kHiHeat)->setDown(true);
  window.HandleHeldButtons();
  window.HandleHeldButtons();
  EXPECT_EQ(world.prompter.Questions().size(), 1U);
}

TEST_F(BatchDryingWindowTest, ScreenshotsShowTimersAndButtons) {
  const platform::Rect client = window.ClientRect();
  const auto at = [&](const QImage& image, int x, int y) {
    return image.pixelColor(client.x + x, client.y + y);
  };
  const QImage single = window.grab().toImage();
  testing::SaveScreenshot(single, "batch_single");
  EXPECT_EQ(at(single, 126, 60), QColor(0x96, 0x96, 0x96)) << "grid line";
  EXPECT_EQ(at(single, 270, 60), QColor(0, 0, 0)) << "background";
  EXPECT_NE(at(single, 12, 137), QColor(0, 0, 0)) << "DRY button";

  s.Set(sm::kConfigBits, 0x02);
  const QImage dual = window.grab().toImage();
  testing::SaveScreenshot(dual, "batch_dual");
  EXPECT_EQ(at(dual, 60, 87), QColor(0x96, 0x96, 0x96)) << "the dual layout's divider";
  EXPECT_NE(at(dual, 12, 67), QColor(0, 0, 0)) << "HI HEAT button";
  EXPECT_NE(at(dual, 12, 152), QColor(0, 0, 0)) << "LO HEAT button";
}

}  // namespace
}  // namespace orvandry::views
