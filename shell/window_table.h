#pragma once

#include <array>
#include <cstdint>

namespace orvandry::shell {

// Every window of the main screen that the shell shows and hides.
enum class Win : std::uint8_t {
  kAutoStart,
  kViewSelection,
  kWarning,
  kLineGraph,
  kStatusChart,
  kBootLoader,
  kPlenumPanel,
  kUnloadStatus,
  kLeftStatusBar,
  kRightStatusBar,
  kButtonBar,
  kTimerSelect,
  kTempSelect,
  kSetupSelect,
  kExtendedSetupSelect,
  kGraph,
  kDryerPic,
  kBatchDrying,
  // Not in the child table: the graph window's own drawing area (a child of the graph window of
  // class kGraphDrawingAreaClass) and the five bar buttons.
  kGraphDrawingArea,
  kBarButtons,
  kCount
};

enum class Frame : std::uint8_t { kNone, kTitleBar, kSelectionScreen };
enum class Initially : std::uint8_t { kHidden, kShown, kByViewRule };

struct WindowDef {
  Win win;
  const char* class_name;
  const char* caption;
  int x, y, width, height;
  Frame frame;
  std::uint32_t background_bgr;  // 0xBBGGRR
  Initially initially;
};

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kLightGrey = 0xC0C0C0;
inline constexpr std::uint32_t kGrey = 0xC0C0C0;

// The child windows in the order they are created. Captions keep their leading spaces: they are
// the screens' references in the help files.
inline constexpr std::array<WindowDef, 18> kChildWindows = {{
    {Win::kAutoStart, "AUTO_START_WINDOW", " AUTO-START UP WIZARD - 36", 20, 20, 600, 430,
     Frame::kTitleBar, kWhite, Initially::kHidden},
    {Win::kViewSelection, "VIEW_SELECTION_WINDOW", "  VIEW SELECTION WINDOW - 04", 100, 50, 450,
     275, Frame::kTitleBar, kWhite, Initially::kHidden},
    {Win::kWarning, "WARNING_WINDOW", " WARNING - DRYER SHUTTING DOWN! - 05", 10, 20, 430, 325,
     Frame::kTitleBar, kWhite, Initially::kHidden},
    {Win::kLineGraph, "LINE_GRAPH_WINDOW", " GRAIN TEMPERATURE / MOISTURE", 0, 40, 240, 205,
     Frame::kTitleBar, kBlack, Initially::kHidden},
    {Win::kStatusChart, "AVERAGE_VALUES_WINDOW", " DRYER STATUS CHART", 240, 40, 400, 205,
     Frame::kTitleBar, kBlack, Initially::kByViewRule},
    {Win::kBootLoader, "BOOT_LOADER_WINDOW", " UPDATE DRYER PROGRAMMING", 0, 0, 640, 480,
     Frame::kTitleBar, kBlack, Initially::kHidden},
    {Win::kPlenumPanel, "CUSTOM_VIEW_WINDOW", " PLENUM(S)", 240, 245, 400, 175, Frame::kTitleBar,
     kBlack, Initially::kByViewRule},
    {Win::kUnloadStatus, "UNLOAD_STATUS_WINDOW", " UNLOAD STATUS", 0, 245, 240, 175,
     Frame::kTitleBar, kBlack, Initially::kHidden},
    {Win::kLeftStatusBar, "DRYER_LEFT_STATUS_BAR_WINDOW", " DRYER BAR STATUS", 0, 0, 240, 40,
     Frame::kNone, kBlack, Initially::kHidden},
    {Win::kRightStatusBar, "DRYER_RIGHT_STATUS_BAR_WINDOW", " DRYER BAR STATUS", 240, 0, 400, 40,
     Frame::kNone, kBlack, Initially::kShown},
    {Win::kButtonBar, "BUTTON_BAR_WINDOW", " DRYER BAR STATUS", 0, 420, 640, 55, Frame::kNone,
     kLightGrey, Initially::kShown},
    {Win::kTimerSelect, "TIMER_SELECT_WINDOW", " SELECT TIMER TO MODIFY - 01", 0, 0, 640, 475,
     Frame::kSelectionScreen, kBlack, Initially::kHidden},
    {Win::kTempSelect, "TEMP_SELECT_WINDOW", " SELECT TEMPERATURE SETPOINT TO MODIFY - 02", 0, 0,
     640, 475, Frame::kSelectionScreen, kBlack, Initially::kHidden},
    {Win::kSetupSelect, "SETUP_SELECTION_WINDOW", " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03",
     0, 0, 640, 475, Frame::kSelectionScreen, kBlack, Initially::kHidden},
    {Win::kExtendedSetupSelect, "EXTENDED_SETUP_SELECTION_WINDOW_NEW",
     " SELECT SETUP PARAMETER TO MODIFY - 06", 0, 0, 640, 475, Frame::kSelectionScreen, kBlack,
     Initially::kHidden},
    {Win::kGraph, "GRAPH_WINDOW", " GRAPH OF SELECTED DRYER VARIABLES", 240, 40, 400, 380,
     Frame::kNone, kGrey, Initially::kByViewRule},
    {Win::kDryerPic, "DRYER_PIC_WINDOW", " SYSTEM STATUS", 0, 0, 240, 420, Frame::kNone, kGrey,
     Initially::kShown},
    {Win::kBatchDrying, "BATCH_DRYING_WINDOW", " BATCH DRYING TIMERS", 240, 40, 400, 205,
     Frame::kTitleBar, kBlack, Initially::kByViewRule},
}};

// The class name of the graph window's drawing area, a child window the graph window creates.
inline constexpr const char* kGraphDrawingAreaClass = "DRAW_GRAPH_WINDOW";

// The five buttons of the bar: 105 x 40 at y = 427.
struct BarButtonDef {
  const char* text;
  int command;
  int x;
  int normal_face;
  int pressed_face;
};
inline constexpr int kBarButtonY = 427;
inline constexpr int kBarButtonWidth = 105;
inline constexpr int kBarButtonHeight = 40;
inline constexpr int kGreyedMcFace = 320;
inline constexpr std::array<BarButtonDef, 5> kBarButtons = {{
    {"TIMERS", 34817, 20, 111, 110},
    {"TEMPS", 34818, 144, 109, 108},
    {"SETUP", 34819, 268, 107, 106},
    {"VIEW", 34820, 392, 113, 112},
    {"MISC", 34821, 516, 105, 104},
}};

// The strip under the bar buttons that no window draws in: the bar's last rows and the main
// window's below it. A subsystem may put a one-line notice there (a child of the main window); it
// covers no view and no button.
struct NoticeArea {
  int x, y, width, height;
};
inline constexpr NoticeArea kNoticeArea = {0, kBarButtonY + kBarButtonHeight + 1, 640,
                                           480 - (kBarButtonY + kBarButtonHeight + 1)};

// The main window's commands.
namespace command {
inline constexpr int kTimers = 34817;
inline constexpr int kTemps = 34818;
inline constexpr int kSetup = 34819;
inline constexpr int kView = 34820;
inline constexpr int kMc = 34821;
inline constexpr int kMeteringSpeed = 34822;
inline constexpr int kDefaults = 34823;
inline constexpr int kByte251 = 36968;
// View selection window.
inline constexpr int kManuals = 36895;
inline constexpr int kExitView = 36896;
inline constexpr int kGraphView = 36897;
inline constexpr int kChartView = 36898;
inline constexpr int kHistory = 36901;
inline constexpr int kSystemInfo = 36904;
inline constexpr int kSoftwareInfo = 36995;
}  // namespace command

// The view selection window's buttons: window text, id, rectangle, faces.
struct ViewButtonDef {
  const char* text;
  int id;
  int x, y, width, height;
  int normal_face;
  int pressed_face;
};
inline constexpr std::array<ViewButtonDef, 7> kViewSelectionButtons = {{
    {"CHART VIEW BUTTON", command::kChartView, 10, 10, 200, 50, 283, 282},
    {"GRAPH VIEW BUTTON", command::kGraphView, 10, 70, 200, 50, 285, 284},
    {"MANUALS BUTTON", command::kManuals, 10, 130, 200, 50, 262, 261},
    {"HISTORY BUTTON", command::kHistory, 230, 10, 200, 50, 279, 278},
    {"HISTORY BUTTON", command::kSystemInfo, 230, 70, 200, 50, 439, 438},
    {"SOFTWARE INFO BUTTON", command::kSoftwareInfo, 230, 130, 200, 50, 526, 525},
    {"EXIT VIEW BUTTON", command::kExitView, 151, 190, 158, 41, 137, 136},
}};

// Dialog templates the shell opens.
namespace dialog {
inline constexpr int kTemperatureEntry = 101;
inline constexpr int kMeteringSpeed = 166;
inline constexpr int kDefaults = 179;
inline constexpr int kShutdownHistory = 197;
inline constexpr int kMoistureSetpoint = 225;
inline constexpr int kDayDataLogger = 258;
inline constexpr int kSystemInfo = 440;
inline constexpr int kSoftwareInfo = 524;
}  // namespace dialog

}  // namespace orvandry::shell
