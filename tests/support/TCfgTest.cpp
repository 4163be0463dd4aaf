#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SettingsTestFiles.h"
#include "support/TCfg.h"

namespace rkvt {
namespace {

class CfgFile : public testing::Test {
 protected:
  QString CfgPath() const { return dir_.filePath("r-kvt-ms_v2.48.cfg"); }
  // Statistics interval, loop interval, logging.
  static std::tuple<int, int, bool> Values(const TCfg& cfg) {
    return {cfg.StatInterval(), cfg.LoopInterval(), cfg.CreateLogFiles()};
  }
  static constexpr std::tuple<int, int, bool> kDefaults{1000, 1000, false};

  QTemporaryDir dir_;
};

TEST_F(CfgFile, MissingFileCreatedAtOnceWithDefaultEntries) {
  const QString defaults = "[Config]\nCreateLogFiles=no\nLoopInterval=1000\nStatInterval=1000\n";
  {
    TCfg cfg(dir_.path());
    EXPECT_EQ(std::pair(cfg.Available(), cfg.Path()), std::pair(true, CfgPath()));
    EXPECT_EQ(Values(cfg), kDefaults);
    EXPECT_EQ(test::ReadAll(CfgPath()), defaults);  // already on disk while the program runs
  }
  EXPECT_EQ(test::ReadAll(CfgPath()), defaults);
}

TEST_F(CfgFile, DefaultDirectoryIsCurrentDirectory) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  { TCfg cfg; }
  QDir::setCurrent(previous);
  EXPECT_TRUE(QFile::exists(CfgPath()));
}

TEST_F(CfgFile, UnusableLocationRunsOnDefaults) {
  const QString blocked = test::BlockedDirectory(dir_.path());
  {
    TCfg cfg(blocked);
    EXPECT_FALSE(cfg.Available());
    EXPECT_EQ(Values(cfg), kDefaults);
  }
  EXPECT_FALSE(QFile::exists(blocked + "/r-kvt-ms_v2.48.cfg"));

  ASSERT_TRUE(QDir(dir_.path()).mkdir("r-kvt-ms_v2.48.cfg"));
  EXPECT_EQ(Values(TCfg(dir_.path())), kDefaults);
  EXPECT_TRUE(QFileInfo(CfgPath()).isDir());
}

// An existing file is read and left exactly as written; absent or unusable
// intervals (not a number, 0 or below) give 1000; only "yes" in any case logs.
using CfgCase = std::tuple<const char*, int, int, bool>;

class CfgFileRead : public CfgFile, public testing::WithParamInterface<CfgCase> {};

TEST_P(CfgFileRead, ValuesReadFileUntouched) {
  const auto& [text, stat, loop, log] = GetParam();
  ASSERT_TRUE(test::WriteAll(CfgPath(), text));
  EXPECT_EQ(Values(TCfg(dir_.path())), std::tuple(stat, loop, log));
  EXPECT_EQ(test::ReadAll(CfgPath()), QString(text));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CfgFileRead,
    testing::Values(CfgCase{"", 1000, 1000, false},
                    CfgCase{"; slow line\n[Config]\nStatInterval=5000\nCreateLogFiles=YES\n", 5000, 1000, true},
                    CfgCase{"[Config]\nStatInterval= 750 \nLoopInterval=1\nCreateLogFiles=yes \n", 750, 1, true},
                    CfgCase{"[Config]\nStatInterval=abc\nLoopInterval=12abc\nCreateLogFiles=1\n", 1000, 1000, false},
                    CfgCase{"[Config]\nStatInterval=2.5\nLoopInterval=\nCreateLogFiles=true\n", 1000, 1000, false},
                    CfgCase{"[Config]\nStatInterval=0\nLoopInterval=-250\nCreateLogFiles=yes please\n", 1000, 1000, false},
                    CfgCase{"[Config]\nStatInterval=99999999999\nLoopInterval=7\nCreateLogFiles=y\n", 1000, 7, false}));

}  // namespace
}  // namespace rkvt
