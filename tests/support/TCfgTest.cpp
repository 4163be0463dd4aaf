#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SettingsTestFiles.h"
#include "TCfg.h"

namespace rkvt {
namespace {

using test::ReadAll;
using test::WriteAll;

class TCfgTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString CfgPath() const { return dir_.filePath("r-kvt-ms_v2.48.cfg"); }
  void WriteCfg(const QString& text) { ASSERT_TRUE(WriteAll(CfgPath(), text)); }

  QTemporaryDir dir_;
};

TEST_F(TCfgTest, MissingFile_CreatedWithDefaultEntries) {
  {
    TCfg cfg(dir_.path());
    EXPECT_TRUE(cfg.Available());
    EXPECT_EQ(cfg.Path(), CfgPath());
    EXPECT_EQ(cfg.StatInterval(), 1000);
    EXPECT_EQ(cfg.LoopInterval(), 1000);
    EXPECT_FALSE(cfg.CreateLogFiles());
    // Already on disk while the program runs.
    EXPECT_EQ(ReadAll(CfgPath()), QString("[Config]\nCreateLogFiles=no\nLoopInterval=1000\nStatInterval=1000\n"));
  }
  EXPECT_EQ(ReadAll(CfgPath()), QString("[Config]\nCreateLogFiles=no\nLoopInterval=1000\nStatInterval=1000\n"));
}

TEST_F(TCfgTest, ExistingFile_ReadAndLeftAsWritten) {
  const QString text = "; tuned for the slow line\n[Config]\nStatInterval=5000\nCreateLogFiles=YES\n";
  WriteCfg(text);
  {
    TCfg cfg(dir_.path());
    EXPECT_EQ(cfg.StatInterval(), 5000);
    EXPECT_EQ(cfg.LoopInterval(), 1000);  // absent
    EXPECT_TRUE(cfg.CreateLogFiles());
  }
  EXPECT_EQ(ReadAll(CfgPath()), text);
}

TEST_F(TCfgTest, EmptyExistingFile_DefaultsNotWritten) {
  WriteCfg("");
  {
    TCfg cfg(dir_.path());
    EXPECT_EQ(cfg.StatInterval(), 1000);
    EXPECT_EQ(cfg.LoopInterval(), 1000);
    EXPECT_FALSE(cfg.CreateLogFiles());
  }
  EXPECT_EQ(QFileInfo(CfgPath()).size(), 0);
}

TEST_F(TCfgTest, DefaultDirectory_IsCurrentDirectory) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  {
    TCfg cfg;
    EXPECT_EQ(QFileInfo(cfg.Path()).canonicalFilePath(), QFileInfo(CfgPath()).canonicalFilePath());
  }
  QDir::setCurrent(previous);
  EXPECT_TRUE(QFile::exists(CfgPath()));
}

TEST_F(TCfgTest, CannotCreate_RunsOnDefaults) {
  const QString blocked = test::BlockedDirectory(dir_.path());
  {
    TCfg cfg(blocked);
    EXPECT_FALSE(cfg.Available());
    EXPECT_EQ(cfg.StatInterval(), 1000);
    EXPECT_EQ(cfg.LoopInterval(), 1000);
    EXPECT_FALSE(cfg.CreateLogFiles());
  }
  EXPECT_FALSE(QFile::exists(blocked + "/r-kvt-ms_v2.48.cfg"));
}

TEST_F(TCfgTest, PathIsADirectory_RunsOnDefaults) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("r-kvt-ms_v2.48.cfg"));
  {
    TCfg cfg(dir_.path());
    EXPECT_EQ(cfg.StatInterval(), 1000);
    EXPECT_EQ(cfg.LoopInterval(), 1000);
    EXPECT_FALSE(cfg.CreateLogFiles());
  }
  EXPECT_TRUE(QFileInfo(CfgPath()).isDir());
}

struct SwitchCase {
  const char* value;
  bool logOn;
};

class TCfgLogSwitchTest : public TCfgTest, public testing::WithParamInterface<SwitchCase> {};

TEST_P(TCfgLogSwitchTest, OnlyYesInAnyCaseSwitchesOn) {
  WriteCfg(QString("[Config]\nCreateLogFiles=%1\n").arg(GetParam().value));
  TCfg cfg(dir_.path());
  EXPECT_EQ(cfg.CreateLogFiles(), GetParam().logOn) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, TCfgLogSwitchTest,
                         testing::Values(SwitchCase{"YES", true}, SwitchCase{"yes", true}, SwitchCase{"Yes", true},
                                         SwitchCase{"yes ", true}, SwitchCase{"1", false}, SwitchCase{"no", false},
                                         SwitchCase{"true", false}, SwitchCase{"", false},
                                         SwitchCase{"yes please", false}, SwitchCase{"y", false}));

struct IntervalCase {
  const char* value;
  int interval;
};

class TCfgIntervalTest : public TCfgTest, public testing::WithParamInterface<IntervalCase> {};

TEST_P(TCfgIntervalTest, BothIntervalsReadAlike) {
  WriteCfg(QString("[Config]\nStatInterval=%1\nLoopInterval=%1\n").arg(GetParam().value));
  TCfg cfg(dir_.path());
  EXPECT_EQ(cfg.StatInterval(), GetParam().interval) << GetParam().value;
  EXPECT_EQ(cfg.LoopInterval(), GetParam().interval) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, TCfgIntervalTest,
                         testing::Values(IntervalCase{"5000", 5000}, IntervalCase{"1", 1},
                                         IntervalCase{" 750 ", 750}, IntervalCase{"abc", 1000},
                                         IntervalCase{"12abc", 1000}, IntervalCase{"2.5", 1000},
                                         IntervalCase{"", 1000}, IntervalCase{"0", 1000},
                                         IntervalCase{"-250", 1000}, IntervalCase{"99999999999", 1000}));

}  // namespace
}  // namespace rkvt
