#pragma once

#include <QWidget>
#include <functional>

#include "platform/canvas.h"

namespace orvandry::graphs {

// A scroll bar for a gloved finger: its arrows are squares as wide as the bar is thick (at least
// 40 px) and the thumb is never shorter than that. It draws itself on a Canvas and reports what was
// touched; the owner decides what a step means and sets the new position.
class TouchScrollBar final : public QWidget {
  Q_OBJECT

 public:
  enum class Step { kLineBack, kLineForward, kPageBack, kPageForward };
  enum class Zone { kBackArrow, kForwardArrow, kTrackBack, kTrackForward, kThumb };
  static constexpr int kMinThumb = 40;

  TouchScrollBar(QWidget* parent, Qt::Orientation orientation, int id, platform::Rect rect);

  void SetRange(int maximum, int page);
  void SetPosition(int position);
  int Maximum() const { return maximum_; }
  int Position() const { return position_; }
  int PageSize() const { return page_; }

  void OnStep(std::function<void(Step)> on_step) { on_step_ = std::move(on_step); }
  void OnThumb(std::function<void(int)> on_thumb) { on_thumb_ = std::move(on_thumb); }

  // What a touch at this point of the bar hits, and the same as a touch there would do.
  Zone ZoneAt(platform::Point point) const;
  void Touch(platform::Point point);
  // The thumb, in the bar's own coordinates.
  platform::Rect ThumbRect() const;

  void Paint(platform::Canvas& canvas) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool Horizontal() const { return orientation_ == Qt::Horizontal; }
  int Length() const { return Horizontal() ? width() : height(); }
  int Thickness() const { return Horizontal() ? height() : width(); }
  int Along(platform::Point p) const { return Horizontal() ? p.x : p.y; }
  // The track between the arrows, along the bar.
  int TrackStart() const { return Thickness(); }
  int TrackLength() const { return Length() - 2 * Thickness(); }
  int ThumbLength() const;
  int ThumbStart() const;

  Qt::Orientation orientation_;
  int maximum_ = 0;
  int page_ = 1;
  int position_ = 0;
  int drag_grab_ = -1;  // where on the thumb the finger holds it; -1 while not dragging
  std::function<void(Step)> on_step_;
  std::function<void(int)> on_thumb_;
};

}  // namespace orvandry::graphs
