#include "setup/setup_select.h"

#include "link/setting_edit.h"
#include "link/status_map.h"

namespace orvandry::setup {

namespace {

namespace id = setup_select_id;
namespace tpl = setup_select_template;

constexpr std::uint8_t kOnePlenumOption = 0x20;

SetupPress Open(int template_id) {
  return {SetupPress::Action::kOpenDialog, template_id};
}

}  // namespace

const SetupButtonDef* FindSetupButton(int id) {
  for (const SetupButtonDef& def : kSetupButtons)
    if (def.id == id) return &def;
  return nullptr;
}

bool SetupSelect::OnePlenum() const {
  return (shared_.dryer_state.Get(link::status_map::kHardwareOptions) & kOnePlenumOption) != 0;
}

bool SetupSelect::Visible(int id) const {
  if (id == id::kBphCal) return !OnePlenum();
  return FindSetupButton(id) != nullptr;
}

bool SetupSelect::StagedBatch() const {
  link::SettingEdit mode(shared_);
  mode.Load(link::Rec::kBatchSelector);
  return mode.Get(link::status_map::kBatchSelector) != 0;
}

SetupPress SetupSelect::Press(int id) const {
  switch (id) {
    case id::kDryingMode:
      return Open(tpl::kDryingMode);
    case id::kMcSetup:
      return Open(StagedBatch() ? tpl::kStagedBatchSetup : tpl::kContinuousFlowSetup);
    case id::kBurnerMode:
      if (OnePlenum()) return {};
      return Open(tpl::kBurnerMode);
    case id::kUnloadParameters:
      return Open(tpl::kUnloadParameters);
    case id::kPlenumTempManager:
      return Open(tpl::kPlenumTempManager);
    case id::kCalibrateMoisture:
      return Open(tpl::kCalibrateMoisture);
    case id::kExtendedSetup:
      return {SetupPress::Action::kShowExtended, 0};
    case id::kBphCal:
      if (OnePlenum()) return {};
      return Open(tpl::kUnloadBushels);
    case id::kDiagnostics:
      return Open(tpl::kDiagnostics);
    case id::kTimeDate:
      return Open(tpl::kTimeDate);
    case id::kDataLogger:
      return Open(tpl::kDataLogger);
    case id::kRemoteConnection:
      return Open(tpl::kRemoteConnection);
    default:
      // The auto-start wizard is a window of its own: the board swaps itself for it.
      return {};
  }
}

}  // namespace orvandry::setup
