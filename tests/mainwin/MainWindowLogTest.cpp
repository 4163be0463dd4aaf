#include <QDir>
#include <QFile>

#include "FormMainHarness.h"
#include "mainwin/MainWindowLog.h"

namespace rkvt::test {
namespace {

TEST_F(FormMain, EventLogPortChangeStoppedInOldFileStartedInNewOneBothInWorkingFolder) {
  QTemporaryDir work;
  MainWindowLog log(F(), true, work.path(), [] { return QDateTime(QDate(2026, 12, 5), QTime(12, 3, 4)); });
  const QString first = work.filePath(TLog::FileName(TFormMain::kProgramTitle, F().PortName()));
  F().FormCreate();
  dialog_.newName = QStringLiteral("/dev/ttyUSB1");
  F().ButtonPort.Click();
  F().FormDestroy();

  const QByteArray session =
      "\r\n\r\n05.12.2026 12:03:04 [1] : R-KVT-MS_v2.48 started.\r\n"
      "05.12.2026 12:03:04 [2] : R-KVT-MS_v2.48 stopped.\r\n";
  for (const QString& path : {first, work.filePath(QStringLiteral("r-kvt-ms_v2.48 ttyusb1.log"))}) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.readAll() == session) << path.toStdString();
  }
  EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).size(), 2);
}

}  // namespace
}  // namespace rkvt::test
