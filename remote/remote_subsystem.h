#pragma once

#include <QElapsedTimer>
#include <QString>

#include "link/link_shared.h"
#include "remote/remote_server.h"
#include "remote/remote_sources.h"
#include "shell/subsystem.h"

namespace orvandry::remote {

// The live remote view as a subsystem of the shell. While at least one viewer is connected, the
// 100 ms tick takes a picture of the main window when something on it changed, at most every
// kMinFrameMs, and hands it to the serving thread; with no viewer it costs nothing. Everything
// else (the requests, the encoding, the sending) happens on the serving thread.
class RemoteSubsystem final : public shell::Subsystem {
 public:
  static constexpr int kMinFrameMs = 500;
  static constexpr int kMaxQuietMs = 2000;  // a picture at least this often, for the blinks

  RemoteSubsystem(RemoteConfig config, link::LinkShared& shared, RemoteSources sources);

  // Opens the listening address; false with the reason when it cannot be had.
  bool Start(QString* error) { return service_.Start(error); }
  RemoteService& service() { return service_; }

  // Takes a picture now if a viewer is connected (the 100 ms tick does this when it is due).
  void GrabFrame();

  // shell::Subsystem
  void Attach(shell::ShellHost& host) override { host_ = &host; }
  void OnViewRule() override { dirty_ = true; }
  void OnIntake(const link::IntakeResult& result) override {
    if (!result.repaints.Empty() || result.apply_view_rule) dirty_ = true;
  }
  void OnWarningCode(std::uint8_t, std::uint8_t) override { dirty_ = true; }
  void OnSecondTick() override { dirty_ = true; }
  void OnTenthTick(const shell::TenthTick& tick) override;
  void ShuttingDown() override { service_.Stop(); }

 private:
  RemoteService service_;
  shell::ShellHost* host_ = nullptr;
  QElapsedTimer since_frame_;
  bool dirty_ = true;
};

}  // namespace orvandry::remote
