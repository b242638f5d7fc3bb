#include "graphs/graph_windows.h"

#include <QFont>
#include <QPainter>

#include "graphs/graph_setup.h"
#include "link/status_map.h"
#include "logging/log_reader.h"
#include "platform/control_id.h"
#include "platform/dialog_kit.h"
#include "platform/picture_button.h"
#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"
#include "platform/window_frame.h"
#include "shell/settings.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::graphs {

namespace {

namespace sm = link::status_map;
using platform::Rect;

unsigned FrameOf(const shell::WindowDef& def) {
  return def.frame == shell::Frame::kTitleBar ? platform::kCaptionBar | platform::kSunkenEdge
                                              : platform::kSunkenEdge;
}

Rect RectOf(const shell::WindowDef& def) {
  return Rect{def.x, def.y, def.width, def.height};
}

// A client-area rectangle of `window` in the window's own coordinates.
Rect InWindow(const platform::ChildWindow& window, Rect client_rect) {
  const Rect client = window.ClientRect();
  return Rect{client.x + client_rect.x, client.y + client_rect.y, client_rect.w, client_rect.h};
}

QPushButton* MakeButton(QWidget* parent, const char* name, int id, Rect rect, int pixels) {
  auto* button = platform::TouchButton(QString::fromLatin1(name), pixels);
  button->setParent(parent);
  button->setObjectName(QString::fromLatin1(name));
  platform::SetControlId(*button, id);
  button->setGeometry(platform::ToQRect(rect));
  return button;
}

bool Unloading(const shell::ViewContext& ctx) {
  return (ctx.State(sm::kUnloadBits) & 0x01) != 0 || (ctx.State(sm::kDryerActivity) & 0x40) != 0;
}

}  // namespace

Rect GraphLayout::Toggle(int series) {
  static constexpr int kColumnX[3] = {8, 138, 270};
  static constexpr int kRowY[2] = {274, 320};
  const SeriesDef& def = kSeries[static_cast<std::size_t>(series)];
  return Rect{kColumnX[def.column], kRowY[def.row], 110, 40};
}

GraphDrawingArea::GraphDrawingArea(QWidget* parent, GraphsModel& model, shell::ShellHost& host)
    : platform::ChildWindow(parent, shell::kGraphDrawingAreaClass, kDrawingAreaCaption,
                            GraphLayout::kDrawingArea, platform::kNoFrame, platform::Rgb(0, 0, 0)),
      model_(model),
      host_(host) {
  DrawOnlyChanges();
}

void GraphDrawingArea::Paint(platform::Canvas& canvas) {
  if (on_paint_) on_paint_();
  PaintGraphArea(canvas, model_.graph, model_.Reader(), host_.Context().SiUnits());
}

GraphWindow::GraphWindow(QWidget* parent, const shell::WindowDef& def, GraphsModel& model,
                         shell::ShellHost& host)
    : platform::ChildWindow(parent, def.class_name, def.caption, RectOf(def), FrameOf(def),
                            platform::Bgr(def.background_bgr)),
      model_(model),
      host_(host) {
  DrawOnlyChanges();
  area_ = new GraphDrawingArea(this, model_, host_);
  area_->move(platform::ToQRect(InWindow(*this, GraphLayout::kDrawingArea)).topLeft());
  area_->OnPaint([this] { Sync(); });
  for (int s = 0; s < kSeriesCount; ++s) {
    const SeriesDef& def_s = kSeries[static_cast<std::size_t>(s)];
    auto* toggle = new platform::PictureButton(this, def_s.button_name, def_s.button_id,
                                               InWindow(*this, GraphLayout::Toggle(s)),
                                               def_s.face_off, def_s.face_off);
    toggle->setFocusPolicy(Qt::NoFocus);
    connect(toggle, &QAbstractButton::clicked, this, [this, s] { OnToggle(s); });
    toggles_[static_cast<std::size_t>(s)] = toggle;
  }
  bar_ = new TouchScrollBar(this, Qt::Horizontal, graph_id::kScrollBar,
                            InWindow(*this, GraphLayout::kScrollBar));
  bar_->OnStep([this](TouchScrollBar::Step step) { OnStep(step); });
  bar_->OnThumb([this](int position) {
    model_.graph.ThumbTo(position, model_.Reader());
    Changed();
  });
  setup_ = MakeButton(this, "SETUP", graph_id::kSetup, InWindow(*this, GraphLayout::kSetup), 15);
  connect(setup_, &QPushButton::clicked, this,
          [this] { host_.OpenDialog({.template_id = graph_setup_id::kTemplate, .parent = this}); });
  Sync();
}

void GraphWindow::Sync() {
  for (int s = 0; s < kSeriesCount; ++s) {
    const SeriesDef& def = kSeries[static_cast<std::size_t>(s)];
    const int face = model_.graph.TraceOn(s) ? def.face_on : def.face_off;
    auto* toggle = toggles_[static_cast<std::size_t>(s)];
    if (toggle->NormalFace() != face) toggle->SetFaces(face, face);
  }
  const logging::LogReader& reader = model_.Reader();
  bar_->SetRange(model_.graph.ScrollLimit(reader), 1);
  bar_->SetPosition(model_.graph.BarPosition(reader));
}

void GraphWindow::OnToggle(int series) {
  model_.graph.ToggleTrace(series);
  Changed();
}

void GraphWindow::OnStep(TouchScrollBar::Step step) {
  const logging::LogReader& reader = model_.Reader();
  if (step == TouchScrollBar::Step::kLineBack || step == TouchScrollBar::Step::kPageBack)
    model_.graph.StepBack(reader);
  else
    model_.graph.StepForward(reader);
  Changed();
}

void GraphWindow::Changed() {
  Sync();
  update();
  area_->update();
}

void GraphWindow::Paint(platform::Canvas&) {
  Sync();
}

StatusChartWindow::StatusChartWindow(QWidget* parent, const shell::WindowDef& def,
                                     GraphsModel& model, shell::ShellHost& host)
    : platform::ChildWindow(parent, def.class_name, def.caption, RectOf(def), FrameOf(def),
                            platform::Bgr(def.background_bgr)),
      model_(model),
      host_(host) {
  // The 1 s tick asks every second; the rows change once per sample.
  DrawOnlyChanges();
  sample_time_ =
      MakeButton(this, "SAMPLE TIME", graph_id::kSampleTime, InWindow(*this, kSampleTimeRect), 12);
  connect(sample_time_, &QPushButton::clicked, this, [this] {
    // The data log setup dialog belongs to the logs; the chart shows the interval it leaves.
    host_.OpenDialog({.template_id = graph_id::kSampleTimeTemplate, .parent = this});
    Sync();
    update();
  });
  bar_ = new TouchScrollBar(this, Qt::Vertical, graph_id::kChartScrollBar,
                            InWindow(*this, kScrollBarRect));
  bar_->OnStep([this](TouchScrollBar::Step step) {
    static constexpr StatusChart::Step kSteps[] = {
        StatusChart::Step::kLineUp, StatusChart::Step::kLineDown, StatusChart::Step::kPageUp,
        StatusChart::Step::kPageDown};
    model_.chart.Scroll(kSteps[static_cast<int>(step)], model_.Reader().CountShortTermSamples());
    update();
  });
  bar_->OnThumb([this](int position) {
    model_.chart.ScrollTo(position, model_.Reader().CountShortTermSamples());
    update();
  });
  Sync();
}

void StatusChartWindow::Sync() {
  const QString caption =
      QString::fromStdString(SampleTimeButtonText(host_.Context().settings.sample_minutes));
  if (sample_time_->text() != caption) sample_time_->setText(caption);
  const std::size_t count = model_.Reader().CountShortTermSamples();
  const bool shown = StatusChart::BarShown(count);
  if (bar_->isVisibleTo(this) != shown) bar_->setVisible(shown);
  bar_->SetRange(StatusChart::MaxPosition(count), StatusChart::kPage);
  bar_->SetPosition(model_.chart.Position(count));
}

void StatusChartWindow::Paint(platform::Canvas& canvas) {
  Sync();
  const shell::ViewContext& ctx = host_.Context();
  PaintStatusChart(canvas, model_.chart, model_.Reader(),
                   ChartStatus{ctx.settings.sample_minutes, Unloading(ctx), ctx.SiUnits()});
}

FaceButton::FaceButton(QWidget* parent, const char* window_text, int id, Rect rect, DrawFace draw)
    : QAbstractButton(parent), draw_(std::move(draw)) {
  setObjectName(QString::fromLatin1(window_text));
  setText(objectName());
  platform::SetControlId(*this, id);
  setGeometry(platform::ToQRect(rect));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage FaceButton::Render() const {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    platform::QtCanvas canvas(image);
    if (draw_) draw_(canvas, isDown());
  }
  return image;
}

void FaceButton::Refresh() {
  platform::RecordingCanvas recording(platform::FromQRect(rect()).GetSize(), platform::QtTextSize);
  if (draw_) draw_(recording, isDown());
  if (recording.Calls() == asked_) return;
  asked_ = recording.Calls();
  update();
}

void FaceButton::paintEvent(QPaintEvent*) {
  const QImage face = Render();
  QPainter painter(this);
  painter.drawImage(0, 0, face);
}

LineGraphWindow::LineGraphWindow(QWidget* parent, const shell::WindowDef& def, GraphsModel& model,
                                 shell::ShellHost& host)
    : platform::ChildWindow(parent, def.class_name, def.caption, RectOf(def), FrameOf(def),
                            platform::Bgr(def.background_bgr)),
      model_(model),
      host_(host) {
  DrawOnlyChanges();
  moisture_ = new FaceButton(
      this, "MOISTURE_VIEW_SELECT_BUTTON", graph_id::kMoistureSelect,
      InWindow(*this, kMoistureRect), [this](platform::Canvas& canvas, bool pressed) {
        PaintMoistureButton(canvas, model_.grain, host_.Context().shared.dryer_state, pressed);
      });
  temperature_ = new FaceButton(
      this, "GRAIN_TEMP_SELECT_BUTTON", graph_id::kGrainTempSelect,
      InWindow(*this, kTemperatureRect), [this](platform::Canvas& canvas, bool pressed) {
        const shell::ViewContext& ctx = host_.Context();
        PaintTemperatureButton(canvas, model_.grain, ctx.shared.dryer_state, ctx.SiUnits(),
                               pressed);
      });
  connect(moisture_, &QAbstractButton::clicked, this, [this] {
    model_.grain.ToggleMoisture();
    update();
  });
  connect(temperature_, &QAbstractButton::clicked, this, [this] {
    model_.grain.NextTemperature();
    update();
  });
}

void LineGraphWindow::Paint(platform::Canvas& canvas) {
  const shell::ViewContext& ctx = host_.Context();
  PaintGrainView(canvas, model_.grain, ctx.shared.dryer_state, ctx.SiUnits());
  // The values follow every frame the intake hands this window.
  moisture_->Refresh();
  temperature_->Refresh();
}

}  // namespace orvandry::graphs
