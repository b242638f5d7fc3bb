#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/recording_canvas.h"
#include "platform/window_frame.h"

namespace orvandry::platform {

class QtCanvas;

// A window of the display at a fixed rectangle in its parent. Its objectName is its class name
// (e.g. "DRYER_PIC_WINDOW") so tests and the shell can find it by name.
//
// Painting never flickers: the frame, the background and the subclass's Paint() are drawn into an
// off-screen image which is copied to the screen in one step, and Qt never erases the window first.
class ChildWindow : public QWidget {
  Q_OBJECT

 public:
  ChildWindow(QWidget* parent, std::string_view class_name, std::string_view caption, Rect rect,
              unsigned frame, Colour background);
  ~ChildWindow() override;

  QString Caption() const { return caption_; }
  unsigned Frame() const { return frame_; }
  Colour Background() const { return background_; }
  // The area left inside the frame, in window coordinates; Paint() draws with (0, 0) at its
  // top-left corner.
  Rect ClientRect() const;
  // A point of the window (e.g. a touch) in client coordinates.
  Point ToClient(QPoint window_point) const;

  // What the window shows, drawn off-screen: used for painting and for screenshots in tests.
  QImage Render();

  // Brings what the window shows up to date with what it would draw now. A window that draws only
  // changes (DrawOnlyChanges) repaints just the areas whose drawing differs from what it shows, or
  // nothing at all; any other window repaints whole. False when nothing needed repainting.
  bool Refresh();

 protected:
  // From now on Refresh() compares before it repaints: Paint() is run on a canvas that records
  // (it must draw the same for the same state, and may run without a paint following), and what
  // it recorded is what the next paint draws. The picture stays exactly the one Paint() draws.
  void DrawOnlyChanges() { only_changes_ = true; }

 public:
  bool DrawsOnlyChanges() const { return only_changes_; }

 protected:
  // Draws the client area, already filled with the background colour. The default draws nothing
  // more, which is all a window without contents needs.
  virtual void Paint(Canvas& canvas);
  // Everything Paint() draws from, for a window that draws only changes and can tell: while it is
  // what it was when the drawing shown was recorded, Refresh() knows nothing changed without
  // recording again. Empty (the default): Paint() may draw from anything, and Refresh() records.
  virtual std::vector<std::uint8_t> DrawingInputs() const { return {}; }

  void paintEvent(QPaintEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Paint() on a recording canvas that measures text with the real fonts.
  std::vector<DrawCall> Record();
  // Draws the kept drawing into image_, all of it or only `region` (window coordinates).
  void DrawKept(const QRegion& region, bool whole);
  // Brings the kept drawing and picture up to what Paint() draws now, before `painting` (window
  // coordinates) is copied to the screen.
  void CatchUp(const QRegion& painting);

  QString caption_;
  unsigned frame_;
  Colour background_;
  bool only_changes_ = false;
  // What the window shows, for a window that draws only changes: the calls of its last Paint()
  // (empty until the first paint, or after it was hidden) and the picture they made.
  std::optional<std::vector<DrawCall>> drawn_;
  std::vector<std::uint8_t> drawn_from_;  // DrawingInputs() when drawn_ was recorded
  QImage image_;
  // A canvas left open on image_ between redraws (opening a painter cost as much as a tick's
  // redraw), with the client area it was opened for. Closed before image_ is replaced; declared
  // after it, so it closes first.
  std::unique_ptr<QtCanvas> kept_canvas_;
  Rect kept_canvas_area_;
  // Set while Refresh() has the window painted: what it shows was recorded a moment ago.
  bool painting_fresh_ = false;
};

}  // namespace orvandry::platform
