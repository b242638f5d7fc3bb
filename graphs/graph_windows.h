#pragma once

#include <QAbstractButton>
#include <QPushButton>
#include <functional>
#include <vector>

#include "graphs/grain_view.h"
#include "graphs/graph_view.h"
#include "graphs/status_chart.h"
#include "graphs/touch_scroll_bar.h"
#include "platform/child_window.h"
#include "platform/recording_canvas.h"
#include "shell/window_table.h"

namespace orvandry::logging {
class LogReader;
}
namespace orvandry::platform {
class PictureButton;
}
namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::graphs {

// What the graphs' windows share: the logs they read and the operator's choices.
struct GraphsModel {
  GraphsModel(const logging::LogReader& r, shell::Settings& settings,
              platform::SettingsStore& store)
      : reader(&r), graph(settings, store) {}
  const logging::LogReader& Reader() const { return *reader; }

  const logging::LogReader* reader;
  GraphView graph;
  StatusChart chart;
  GrainView grain;
};

namespace graph_id {
inline constexpr int kScrollBar = 36899;
inline constexpr int kSetup = 36879;
inline constexpr int kChartScrollBar = 36893;
inline constexpr int kSampleTime = 36900;
inline constexpr int kMoistureSelect = 36869;
inline constexpr int kGrainTempSelect = 36868;
inline constexpr int kSampleTimeTemplate = 245;
}  // namespace graph_id

// Where the graph window's controls sit in its client area. The Part's trace toggles (33 px
// high), SETUP (25 px) and scroll bar (25 px) are too small for a gloved finger: every one is 40 px
// here, the toggles in their columns, SETUP beside the scroll bar.
struct GraphLayout {
  static constexpr platform::Rect kDrawingArea{5, 5, 380, 220};
  static constexpr platform::Rect kSetup{5, 229, 80, 40};
  static constexpr platform::Rect kScrollBar{90, 229, 295, 40};
  static platform::Rect Toggle(int series);
};

// DRAW_GRAPH_WINDOW: the graph itself, drawn from the graph log on every paint.
class GraphDrawingArea final : public platform::ChildWindow {
  Q_OBJECT
 public:
  GraphDrawingArea(QWidget* parent, GraphsModel& model, shell::ShellHost& host);
  // Called on every paint: the log may have grown an hour since the scroll bar was set.
  void OnPaint(std::function<void()> on_paint) { on_paint_ = std::move(on_paint); }

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  GraphsModel& model_;
  shell::ShellHost& host_;
  std::function<void()> on_paint_;
};

// GRAPH_WINDOW: the drawing area, the six trace toggles, the scroll bar and SETUP.
class GraphWindow final : public platform::ChildWindow {
  Q_OBJECT
 public:
  GraphWindow(QWidget* parent, const shell::WindowDef& def, GraphsModel& model,
              shell::ShellHost& host);

  GraphDrawingArea* DrawingArea() const { return area_; }
  platform::PictureButton* Toggle(int series) const {
    return toggles_[static_cast<std::size_t>(series)];
  }
  TouchScrollBar* ScrollBar() const { return bar_; }
  QPushButton* SetupButton() const { return setup_; }
  // Brings the toggles' faces and the scroll bar up to date (every paint does).
  void Sync();

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void OnToggle(int series);
  void OnStep(TouchScrollBar::Step step);
  void Changed();

  GraphsModel& model_;
  shell::ShellHost& host_;
  GraphDrawingArea* area_;
  std::array<platform::PictureButton*, kSeriesCount> toggles_{};
  TouchScrollBar* bar_;
  QPushButton* setup_;
};

// AVERAGE_VALUES_WINDOW: the status chart with its sample-time button and scroll bar.
class StatusChartWindow final : public platform::ChildWindow {
  Q_OBJECT
 public:
  // The sample-time button is 40 px high (the Part's 31 px is too small to hit), over the first
  // column's header; the scroll bar is 40 px wide.
  static constexpr platform::Rect kSampleTimeRect{0, 0, 100, 40};
  static constexpr platform::Rect kScrollBarRect{356, 37, 40, 135};

  StatusChartWindow(QWidget* parent, const shell::WindowDef& def, GraphsModel& model,
                    shell::ShellHost& host);

  QPushButton* SampleTimeButton() const { return sample_time_; }
  TouchScrollBar* ScrollBar() const { return bar_; }
  void Sync();

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  GraphsModel& model_;
  shell::ShellHost& host_;
  QPushButton* sample_time_;
  TouchScrollBar* bar_;
};

// A push button whose face a function draws (pressed or not).
class FaceButton final : public QAbstractButton {
  Q_OBJECT
 public:
  using DrawFace = std::function<void(platform::Canvas&, bool pressed)>;
  FaceButton(QWidget* parent, const char* window_text, int id, platform::Rect rect, DrawFace draw);
  QImage Render() const;
  // Repaints the face when what it draws differs from what it drew when last asked.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DrawFace draw_;
  std::vector<platform::DrawCall> asked_;
};

// LINE_GRAPH_WINDOW: one moisture and one grain temperature in large digits; touching a value
// chooses which.
class LineGraphWindow final : public platform::ChildWindow {
  Q_OBJECT
 public:
  static constexpr platform::Rect kMoistureRect{53, 0, 117, 65};
  static constexpr platform::Rect kTemperatureRect{53, 76, 107, 59};

  LineGraphWindow(QWidget* parent, const shell::WindowDef& def, GraphsModel& model,
                  shell::ShellHost& host);
  FaceButton* MoistureButton() const { return moisture_; }
  FaceButton* TemperatureButton() const { return temperature_; }

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  GraphsModel& model_;
  shell::ShellHost& host_;
  FaceButton* moisture_;
  FaceButton* temperature_;
};

}  // namespace orvandry::graphs
