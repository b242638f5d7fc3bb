#pragma once

// What the service dialogs' tests share: the dryer reporting through the real intake, the next
// CommandFrame record by record, and the checks every dialog's skin must pass.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QRect>
#include <array>
#include <cstdint>

#include "link/frame_constants.h"
#include "link/link_shared.h"
#include "link/status_intake.h"
#include "platform/control_id.h"
#include "platform/dialog.h"
#include "platform/scripted_prompter.h"
#include "tests/setup/wire_records.h"

namespace orvandry::service::testing {

using setup::testing::Bytes;
using setup::testing::NextFrame;
using setup::testing::WireRecords;

class ServiceTest : public ::testing::Test {
 protected:
  // The dryer reports `frame` (as edited by the test) through the real intake.
  void Take() { link::StatusIntake(shared, nullptr).Run(frame.data()); }

  static void Save(QWidget& widget, const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) widget.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }

  // Every button lies inside the client area, is at least 40 x 40 pixels and overlaps no other
  // control.
  static void ExpectTouchable(platform::Dialog& dialog) {
    const platform::Rect c = dialog.ClientRect();
    const QRect client(c.x, c.y, c.w, c.h);
    const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(controls.empty());
    for (QWidget* w : controls) {
      const int control = platform::ControlIdOf(*w).value_or(-1);
      EXPECT_TRUE(client.contains(w->geometry())) << control;
      if (qobject_cast<QPushButton*>(w) != nullptr) {
        EXPECT_GE(w->width(), 40) << control;
        EXPECT_GE(w->height(), 40) << control;
      }
      for (QWidget* other : controls) {
        if (other != w) {
          EXPECT_FALSE(w->geometry().intersects(other->geometry())) << control;
        }
      }
    }
  }

  link::LinkShared shared;
  std::array<std::uint8_t, link::kStateSize> frame{};
  platform::ScriptedPrompter prompter;
};

}  // namespace orvandry::service::testing
