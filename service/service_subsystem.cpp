#include "service/service_subsystem.h"

namespace orvandry::service {

void ServiceSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  // The dialogs of this subsystem by template number, one line each.
}

}  // namespace orvandry::service
