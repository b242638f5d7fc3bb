#include "remote/remote_subsystem.h"

#include <QPixmap>
#include <QWidget>

namespace orvandry::remote {

RemoteSubsystem::RemoteSubsystem(RemoteConfig config, link::LinkShared& shared,
                                 RemoteSources sources)
    : service_(std::move(config), shared, std::move(sources)) {}

void RemoteSubsystem::OnTenthTick(const shell::TenthTick& /*tick*/) {
  if (!service_.running() || service_.viewers() == 0) return;
  if (since_frame_.isValid()) {
    const qint64 since = since_frame_.elapsed();
    if (since < kMinFrameMs || (!dirty_ && since < kMaxQuietMs)) return;
  }
  GrabFrame();
}

void RemoteSubsystem::GrabFrame() {
  if (host_ == nullptr || !service_.running() || service_.viewers() == 0) return;
  // The main window draws itself into a picture exactly as it draws on the panel; the picture is
  // compared, encoded and sent on the serving thread.
  service_.PushImage(host_->MainWidget()->grab().toImage());
  since_frame_.start();
  dirty_ = false;
}

}  // namespace orvandry::remote
