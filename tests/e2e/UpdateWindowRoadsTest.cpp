// The update window through its Qt widgets, offscreen, against the emulated
// modem on a pty: image chosen in the real dialog or dropped, the whole
// transfer, Stop in both phases and a port that goes away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "sim/FirmwareImage.h"
#include "RoadsHarness.h"
#include "app/QtMainWindow.h"
#include "firmware/TFormSoftware.h"
#include "mainwin/TFormMain.h"

namespace rkvt {
namespace {

constexpr int kLimitMs = 120000;  // a whole image under the sanitizers

class UpdateRoads : public test::PlainStyleTest {
 protected:

  // A modem from emulator options, identified with State, the update window open.
  void Open(std::vector<std::string> options, LinkTimings timings = {150, 1500, 3}) {
    program_.reset();
    modem_ = std::make_unique<sim::ModemEmulator>(test::EmulatedModem(std::move(options)));
    program_ = test::StartProgram(dir_.path(), QString::fromStdString(modem_->PortPath()), timings);
    ASSERT_TRUE(image_.WriteTo(path_.toStdString()));
    Click(program_->MainWindow(), "ButtonState");
    ASSERT_TRUE(Until([&] { return !program_->FormMain().CommandRunning(); }));
    Click(program_->MainWindow(), "ButtonSoftware");
    ASSERT_TRUE(Window().isVisible());
  }

  QWidget& Window() { return program_->UpdateWindow(); }
  TFormSoftware& Form() { return program_->FormSoftware(); }
  static void Click(QWidget& window, const char* name) {
    QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
  }
  QString Text(const char* name) { return Window().findChild<QLabel*>(name)->text(); }
  bool On(const char* name) { return Window().findChild<QWidget*>(name)->isEnabled(); }
  void Drop(const QString& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Past the application, which drops a drop that no real drag began.
    static_cast<QObject&>(Window()).event(&drop);
  }
  // In a plain event loop: qWaitFor naps 10 ms between rounds, and the
  // worker waits for the window at every block.
  static bool Until(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (done()) loop.quit();
    });
    poll.start(20);
    QTimer::singleShot(kLimitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
  }
  bool WaitEnd() {
    return Until([&] { return !Form().TransferRunning(); });
  }
  QTemporaryDir dir_;
  sim::FirmwareImage image_;
  const QString path_ = dir_.filePath("image.vrk");
  std::unique_ptr<sim::ModemEmulator> modem_;
  std::unique_ptr<Application> program_;  // goes before the modem
};

// Through the loader with the image chosen in the dialog, through the working
// firmware with the image dropped: the whole image lands in the flash.
TEST_F(UpdateRoads, WholeUpdateViaLoaderAndViaWorkingFirmware) {
  for (const sim::Framing framing : {sim::Framing::Loader, sim::Framing::Working}) {
    const bool loader = framing == sim::Framing::Loader;
    Open(loader ? std::vector<std::string>{"--preset", "loader"} : std::vector<std::string>{});
    QStringList seen;
    QTimer answer;  // the dialog is modal: answered from inside its own loop
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      seen << dialog->windowTitle() << dialog->nameFilters() << dialog->directory().absolutePath();
      // Typed in as a user would; selectFile races the dialog's directory listing.
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path_);
      static_cast<QDialog*>(dialog)->accept();  // as the Open button does
    });
    answer.start(20);
    if (loader) {
      Click(Window(), "ButtonLoadSoftwareModem");
      EXPECT_EQ(seen, (QStringList{"Выберите файл ПО модема", "ПО модема (*.vrk)", "все файлы (*.*)", QDir::currentPath()}));
    } else {
      Drop(path_);
    }
    EXPECT_EQ(Text("StaticTextSoftwareModem") + Text("StaticTextSoftwareModemVersionSoftware"), " image.vrk3.15");

    Click(Window(), "ButtonTransmitSoftwareModem");
    EXPECT_EQ(Window().findChild<QPushButton*>("ButtonTransmitSoftwareModem")->accessibleName(), "Stop");
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(Text("StaticTextMessage"), " Update software OK.");
    EXPECT_EQ(modem_->Flash(), image_.Bytes());
    const sim::JournalEntry last = modem_->Journal().back();
    EXPECT_EQ(std::tuple(last.framing, last.frame[2], last.frame[3], last.frame[4]), std::tuple(framing, 0x2F, 0xFF, 0xE8))
        << "the final block of segment 4";
    EXPECT_EQ(Window().findChild<QPushButton*>("ButtonTransmitSoftwareModem")->text(), "Update");
    EXPECT_FALSE(program_->FormMain().ButtonState.Enabled()) << "the update window is still open";
    Click(program_->MainWindow(), "ButtonReset");  // a reset closes the update window
    EXPECT_FALSE(Window().isVisible());
  }
}

// One modem, one window: Stop in the erase, Stop in the writes, then the port goes.
TEST_F(UpdateRoads, StopInBothPhasesThenAVanishingPortEndsAsTheirResultsSay) {
  Open({}, LinkTimings{});
  Drop(path_);
  modem_->AddFault({.fault = sim::Fault::NoReply, .code = 0x18, .times = 1});
  Click(Window(), "ButtonTransmitSoftwareModem");
  ASSERT_TRUE(Until([&] { return Form().ProgressBar.Position() == 20; }));
  Click(Window(), "ButtonTransmitSoftwareModem");
  ASSERT_TRUE(WaitEnd());
  EXPECT_EQ(Text("StaticTextMessage"), " Update software error !");

  Click(Window(), "ButtonTransmitSoftwareModem");
  ASSERT_TRUE(Until([&] { return Form().StaticTextMessage.Text() == " Update software ..." &&
                                 Form().ProgressBar.Position() >= 3; }));
  const QString shown = Window().findChild<QProgressBar*>("ProgressBar")->text();
  EXPECT_TRUE(shown == Form().ProgressBar.Text() && shown.startsWith(QString::number(Form().ProgressBar.Position()) + " %"))
      << shown.toStdString();
  Click(Window(), "ButtonTransmitSoftwareModem");
  ASSERT_TRUE(WaitEnd());
  EXPECT_EQ(Text("StaticTextMessage"), " Update software stopped !");
  EXPECT_EQ(Window().findChild<QPushButton*>("ButtonTransmitSoftwareModem")->text(), "Update");
  EXPECT_NE(modem_->Flash(), image_.Bytes());

  modem_->AddFault({.fault = sim::Fault::Vanish, .frameNumber = int(modem_->FrameCount()) + 400});
  Click(Window(), "ButtonTransmitSoftwareModem");
  ASSERT_TRUE(WaitEnd());
  EXPECT_EQ(Text("StaticTextMessage"), " Can't read COM-port!");
  EXPECT_EQ(Window().findChild<QLabel*>("StaticTextMessage")->palette().color(QPalette::WindowText), QColor(Qt::red));
  Window().close();
  Click(program_->MainWindow(), "ButtonSoftware");
  for (const char* off : {"LabelFileName", "StaticTextSoftwareModem", "StaticTextSoftwareModemVersionSoftware",
                          "ButtonLoadSoftwareModem", "ButtonTransmitSoftwareModem", "ProgressBar"})
    EXPECT_FALSE(On(off)) << off;
}

}  // namespace
}  // namespace rkvt
