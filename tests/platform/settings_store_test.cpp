#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/qt_settings_store.h"

namespace orvandry::platform {
namespace {

TEST(QtSettingsStore, RoundTripsBytesAndReadsAbsentOrForeignValuesAsUnreadable) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("settings.ini");
  {
    QtSettingsStore store(path);
    EXPECT_FALSE(store.ReadByte("SCREEN_VIEW_SELECTION").has_value());
    EXPECT_TRUE(store.WriteByte("SCREEN_VIEW_SELECTION", 1));
    EXPECT_TRUE(store.WriteByte("GRAPH_TRACES_ON_OFF", 0xFF));
  }
  QtSettingsStore reopened(path);
  EXPECT_EQ(reopened.ReadByte("SCREEN_VIEW_SELECTION"), 1);
  EXPECT_EQ(reopened.ReadByte("GRAPH_TRACES_ON_OFF"), 0xFF);
  EXPECT_FALSE(reopened.ReadByte("TEMP_DATA_LOG_SAMPLE_TIME").has_value());

  // Hand-edited files: numbers are read, anything that is not one byte is not.
  QFile file(dir.filePath("edited.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[General]\nA=20\nB=300\nC=lots\nD=-1\n");
  file.close();
  QtSettingsStore edited(file.fileName());
  EXPECT_EQ(edited.ReadByte("A"), 20);
  for (const char* key : {"B", "C", "D"}) EXPECT_FALSE(edited.ReadByte(key).has_value()) << key;

  // A settings file inside a plain file cannot be written, by root either: the write says so.
  QtSettingsStore blocked(path + "/settings.ini");
  EXPECT_FALSE(blocked.WriteByte("SCREEN_VIEW_SELECTION", 1));
  EXPECT_FALSE(blocked.ReadByte("SCREEN_VIEW_SELECTION").has_value());
}

}  // namespace
}  // namespace orvandry::platform
