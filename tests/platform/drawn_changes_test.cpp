#include "platform/drawn_changes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPaintEvent>
#include <functional>

#include "platform/child_window.h"
#include "platform/recording_canvas.h"

namespace orvandry::platform {
namespace {

constexpr Size kSize{100, 50};

std::vector<DrawCall> Draw(const std::function<void(Canvas&)>& paint) {
  RecordingCanvas canvas(kSize);
  paint(canvas);
  return canvas.Calls();
}

// A value in a box, a line and a picture, drawn with what may change.
struct Scene {
  std::string value = "12";
  Colour colour = Bgr(0x00FF00);
  int picture_x = 60;
  bool clipped = false;
  bool text_at = false;
  bool extra = false;

  std::vector<DrawCall> Calls() const {
    return Draw([&](Canvas& c) {
      c.FillRect(Rect{0, 0, 100, 50}, Bgr(0));
      if (clipped) c.SetClip(Rect{0, 0, 50, 50});
      c.SetTextColour(colour);
      if (text_at)
        c.TextAt(Point{5, 5}, value);
      else
        c.Text(Rect{5, 5, 12, 15}, value, kAlignLeft);  // the value fills its box
      c.Line(Point{0, 30}, Point{40, 30}, Bgr(0xFFFFFF));
      c.Picture(1, Rect{picture_x, 10, 20, 20});
      if (extra) c.FillRect(Rect{0, 40, 5, 5}, Bgr(0xFFFFFF));
    });
  }
};

Scene With(const std::function<void(Scene&)>& change) {
  Scene scene;
  change(scene);
  return scene;
}

TEST(ChangedArea, IsWhereTheDrawingDiffers) {
  const QRegion whole(0, 0, kSize.w, kSize.h);
  const Scene plain;
  const Scene text_at = With([](Scene& s) { s.text_at = true; });
  struct Case {
    const char* name;
    Scene before;
    Scene after;
    QRegion expected;
  };
  const Case cases[] = {
      {"nothing changed", plain, plain, QRegion()},
      {"a value", plain, With([](Scene& s) { s.value = "13"; }), QRegion(5, 5, 12, 15)},
      {"a text's colour", plain, With([](Scene& s) { s.colour = Bgr(0xFF0000); }),
       QRegion(5, 5, 12, 15)},
      {"a picture moved: where it was and where it is", plain,
       With([](Scene& s) { s.picture_x = 70; }), QRegion(60, 10, 20, 20) + QRegion(70, 10, 20, 20)},
      {"a call more", plain, With([](Scene& s) { s.extra = true; }), whole},
      {"a clip", plain, With([](Scene& s) { s.clipped = true; }), whole},
      {"a text at a point, whose extent is not known", text_at, With([](Scene& s) {
         s.text_at = true;
         s.value = "13";
       }),
       whole},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChangedArea(c.before.Calls(), c.after.Calls(), kSize), c.expected);
  }
}

TEST(ChangedArea, OfAShortTextInAWideBoxIsWhereTheTextStands) {
  const auto right_aligned = [](const char* text) {
    return Draw([&](Canvas& c) { c.Text(Rect{0, 20, 100, 15}, text, kAlignRight); });
  };
  const QRegion changed = ChangedArea(right_aligned("7"), right_aligned("8"), kSize);
  EXPECT_FALSE(changed.isEmpty());
  EXPECT_TRUE(QRect(60, 20, 40, 15).contains(changed.boundingRect()));
}

TEST(Replay, DrawsTheSameCallsWithTheirStateAndLeavesOutWhatCannotReachTheArea) {
  const std::vector<DrawCall> calls = Draw([](Canvas& c) {
    c.SetFont(Font{20, 700});
    c.SetBackgroundMode(BackgroundMode::kTransparent);
    c.SetTextColour(Bgr(0x0000FF));
    c.Text(Rect{0, 0, 40, 20}, "A", kAlignCentre);
    c.SetClip(Rect{0, 0, 50, 50});
    c.TextAt(Point{60, 30}, "B");
    c.ClearClip();
    c.FillRect(Rect{60, 0, 10, 10}, Bgr(0));
  });
  RecordingCanvas again(kSize);
  Replay(calls, again);
  EXPECT_EQ(again.Calls(), calls);

  RecordingCanvas left_part(kSize);
  Replay(calls, left_part, QRect(0, 0, 50, 50));
  // The fill on the right is left out; the text at a point (extent unknown) and the clips stay.
  ASSERT_EQ(left_part.Calls().size(), calls.size() - 1);
  EXPECT_EQ(left_part.Count<FillRectCall>(), 0U);
}

TEST(Replay, LeavesOutWhatALaterOpaqueFillCoversInTheOneRectangle) {
  const auto scene = [](bool clip_first) {
    return Draw([clip_first](Canvas& c) {
      if (clip_first) c.SetClip(Rect{0, 0, 100, 50});
      c.FillRect(Rect{0, 0, 100, 50}, Bgr(0));
      c.Text(Rect{0, 0, 40, 20}, "A", kAlignLeft);
      c.FillRect(Rect{0, 0, 50, 50}, Bgr(0x808080));
      c.Line(Point{0, 10}, Point{40, 10}, Bgr(0xFFFFFF));
    });
  };
  const std::vector<DrawCall> calls = scene(false);
  RecordingCanvas inside(kSize);
  Replay(calls, inside, QRect(5, 5, 10, 10));
  EXPECT_EQ(inside.Calls(), std::vector<DrawCall>(calls.begin() + 2, calls.end()));
  // Reaching past the cover, or over two rectangles, everything that reaches is drawn.
  RecordingCanvas across(kSize);
  Replay(calls, across, QRect(45, 5, 10, 10));
  EXPECT_EQ(across.Calls(), (std::vector<DrawCall>{calls[0], calls[2]}));
  RecordingCanvas two(kSize);
  Replay(calls, two, QRegion(QRect(5, 5, 10, 10)) + QRect(20, 30, 5, 5));
  EXPECT_EQ(two.Calls(), calls);
  // A clip set before the cover could cut it: nothing is left out.
  const std::vector<DrawCall> clipped = scene(true);
  RecordingCanvas under_clip(kSize);
  Replay(clipped, under_clip, QRect(5, 5, 10, 10));
  EXPECT_EQ(under_clip.Calls(), clipped);
}

// A window with one value box that can change, counting its paints.
class ValueWindow : public ChildWindow {
 public:
  ValueWindow()
      : ChildWindow(nullptr, "VALUE_WINDOW", "", Rect{0, 0, 120, 60}, kSunkenEdge, Bgr(0)) {
    DrawOnlyChanges();
  }
  std::string value = "12";
  int paints = 0;
  QRegion painted;

 protected:
  void Paint(Canvas& canvas) override {
    canvas.SetTextColour(Bgr(0x00FFFF));
    canvas.Text(Rect{5, 5, 12, 20}, value, kAlignLeft);  // the value fills its box
    canvas.Text(Rect{5, 30, 100, 20}, "FIXED", kAlignLeft);
  }
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    painted = event->region();
    ChildWindow::paintEvent(event);
  }
};

TEST(ChildWindow, DrawingOnlyChangesRepaintsNothingWhenNothingChangedAndOnlyTheChangedPart) {
  ValueWindow window;
  window.show();
  QCoreApplication::processEvents();
  ASSERT_GT(window.paints, 0) << "shown and painted";

  const int paints = window.paints;
  window.Refresh();
  QCoreApplication::processEvents();
  EXPECT_EQ(window.paints, paints) << "nothing changed: nothing repainted";

  window.value = "13";
  window.Refresh();
  QCoreApplication::processEvents();
  EXPECT_EQ(window.paints, paints + 1);
  const Rect client = window.ClientRect();
  EXPECT_EQ(window.painted, QRegion(client.x + 5, client.y + 5, 12, 20)) << "only the value";
  EXPECT_EQ(window.grab().toImage().convertToFormat(QImage::Format_RGB32), window.Render())
      << "the same picture as a whole paint";
}

// A window that names what it draws from is not recorded again while that stays the same, and is
// as soon as it changes.
class InputsWindow : public ValueWindow {
 public:
  int records = 0;

 protected:
  void Paint(Canvas& canvas) override {
    ++records;
    ValueWindow::Paint(canvas);
  }
  std::vector<std::uint8_t> DrawingInputs() const override { return {value.begin(), value.end()}; }
};

TEST(ChildWindow, NamedInputsThatStayTheSameSpareTheRecording) {
  InputsWindow window;
  window.show();
  QCoreApplication::processEvents();
  window.Refresh();  // the first refresh learns the inputs of the drawing shown
  const int records = window.records;
  EXPECT_FALSE(window.Refresh());
  EXPECT_EQ(window.records, records);

  window.value = "13";
  EXPECT_TRUE(window.Refresh());
  EXPECT_EQ(window.records, records + 1);
  EXPECT_EQ(window.grab().toImage().convertToFormat(QImage::Format_RGB32), window.Render());
  const int after_change = window.records;
  EXPECT_FALSE(window.Refresh());
  EXPECT_EQ(window.records, after_change);
}

}  // namespace
}  // namespace orvandry::platform
