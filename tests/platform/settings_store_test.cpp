#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/qt_settings_store.h"

namespace orvandry::platform {
namespace {

TEST(QtSettingsStore, WritesReadBackAcrossInstances) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("settings.ini");
  {
    QtSettingsStore store(path);
    EXPECT_FALSE(store.ReadByte("SCREEN_VIEW_SELECTION").has_value());
    EXPECT_TRUE(store.WriteByte("SCREEN_VIEW_SELECTION", 1));
    EXPECT_TRUE(store.WriteByte("GRAPH_TRACES_ON_OFF", 0xFF));
    EXPECT_TRUE(store.WriteByte("GRAPH_HORIZONTAL_SCALE", 0));
    EXPECT_EQ(store.ReadByte("SCREEN_VIEW_SELECTION"), 1);
  }
  QtSettingsStore reopened(path);
  EXPECT_EQ(reopened.ReadByte("SCREEN_VIEW_SELECTION"), 1);
  EXPECT_EQ(reopened.ReadByte("GRAPH_TRACES_ON_OFF"), 0xFF);
  EXPECT_EQ(reopened.ReadByte("GRAPH_HORIZONTAL_SCALE"), 0);
  EXPECT_FALSE(reopened.ReadByte("TEMP_DATA_LOG_SAMPLE_TIME").has_value());
}

TEST(QtSettingsStore, ValuesThatAreNotOneByteReadAsUnreadable) {
  QTemporaryDir dir;
  const QString path = dir.filePath("settings.ini");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "[General]\nTEMP_DATA_LOG_SAMPLE_TIME=20\nGRAPH_HORIZONTAL_SCALE=300\n"
      "GRAPH_TRACES_ON_OFF=lots\nSCREEN_VIEW_SELECTION=-1\n");
  file.close();
  QtSettingsStore store(path);
  EXPECT_EQ(store.ReadByte("TEMP_DATA_LOG_SAMPLE_TIME"), 20) << "hand-written numbers are read";
  EXPECT_FALSE(store.ReadByte("GRAPH_HORIZONTAL_SCALE").has_value());
  EXPECT_FALSE(store.ReadByte("GRAPH_TRACES_ON_OFF").has_value());
  EXPECT_FALSE(store.ReadByte("SCREEN_VIEW_SELECTION").has_value());
}

TEST(QtSettingsStore, AWriteThatCannotBeStoredReportsFailure) {
  QTemporaryDir dir;
  QFile blocker(dir.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  // The settings file would have to live inside a plain file: no one, root included, can write it.
  QtSettingsStore store(dir.filePath("not-a-folder/settings.ini"));
  EXPECT_FALSE(store.WriteByte("SCREEN_VIEW_SELECTION", 1));
  EXPECT_FALSE(store.ReadByte("SCREEN_VIEW_SELECTION").has_value());
}

TEST(MemorySettingsStore, ActsLikeTheRealStoreIncludingItsFailures) {
  MemorySettingsStore store;
  EXPECT_FALSE(store.ReadByte("GRAPH_TRACES_ON_OFF").has_value());
  EXPECT_TRUE(store.WriteByte("GRAPH_TRACES_ON_OFF", 0x41));
  EXPECT_EQ(store.ReadByte("GRAPH_TRACES_ON_OFF"), 0x41);
  store.PlantUnreadable("GRAPH_TRACES_ON_OFF");
  EXPECT_FALSE(store.ReadByte("GRAPH_TRACES_ON_OFF").has_value());
  store.SetWritesFail(true);
  EXPECT_FALSE(store.WriteByte("SCREEN_VIEW_SELECTION", 1));
  EXPECT_FALSE(store.ReadByte("SCREEN_VIEW_SELECTION").has_value())
      << "a failed write stores nothing";
  EXPECT_EQ(store.WriteCount(), 2);
}

}  // namespace
}  // namespace orvandry::platform
