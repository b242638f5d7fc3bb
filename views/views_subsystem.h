#pragma once

#include "shell/subsystem.h"

namespace orvandry::views {

class BatchDryingWindow;

// The main status screen as a subsystem of the shell: the status bars, the plenum panel, the
// unload status window, the batch drying window and the dryer picture, and the ticks and frames
// they follow.
class ViewsSubsystem final : public shell::Subsystem {
 public:
  void Attach(shell::ShellHost& host) override { host_ = &host; }
  platform::ChildWindow* CreateWindow(const shell::WindowDef& def, QWidget* parent) override;
  void Wired() override;
  void OnViewRule() override;
  void OnIntake(const link::IntakeResult& result) override;
  void OnSecondTick() override;

 private:
  shell::ShellHost* host_ = nullptr;
  BatchDryingWindow* batch_ = nullptr;
};

}  // namespace orvandry::views
