// The update window's logic on a scripted dialog and a fake runner.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FakeRunner.h"
#include "firmware/TFormSoftware.h"
#include "link/ProtocolHost.h"
#include "support/TIni.h"
#include "sim/FirmwareImage.h"

namespace rkvt {
namespace {

// The runner, the file dialog and the beep the window is given.
struct Fakes : test::FakeRunner, test::CountingBeeper, ui::FileOpenDialog {
  // Byte 3 stands for anything the worker left behind.
  void End(std::uint8_t code) { Complete(code, {{3, 0x77}}); }
  std::optional<QString> Open(const QString& directory, const QString& fileName) override {
    opened.push_back(directory + "|" + fileName);
    return answer;
  }
  std::optional<QString> answer;
  std::vector<QString> opened;
};

class FormSoftwareTest : public testing::Test {
 protected:
  FormSoftwareTest() {
    form_.FormMain = {.firmwareTransferRunning = [this](bool on) { calls_.push_back(on ? "running" : "idle"); },
                      .updateWindowClosed = [this] { calls_.push_back("closed"); },
                      .softwareLevel = [] { return 12; },
                      .workingFirmware = [this] { return working_; }};
    form_.FormShow();
  }
  QString Write(const char* name, const sim::FirmwareImage& image = sim::FirmwareImage()) {
    EXPECT_TRUE(image.WriteTo(dir_.filePath(name).toStdString()));
    return dir_.filePath(name);
  }
  void Choose(std::optional<QString> path) {
    fakes_.answer = std::move(path);
    form_.ButtonLoadSoftwareModem.Click();
  }
  void StartUpdate() {
    Choose(Write("good.vrk"));
    form_.ButtonTransmitSoftwareModem.Click();
    ASSERT_TRUE(fakes_.Running());
  }
  // "file|version|colours of file and message (Normal, Red, the test's Green)|message|switches of
  // ..., Update, bar, LabelFileName, file, version".
  std::string Looks() {
    const auto c = [](const ui::StaticText& t) { return t.FontColor() == ui::colors::kRed ? 'R' : t.FontColor().IsWindowText() ? 'N' : 'G'; };
    QString on;
    for (const ui::Control* x : std::initializer_list<const ui::Control*>{
             &form_.ButtonLoadSoftwareModem, &form_.ButtonTransmitSoftwareModem, &form_.ProgressBar,
             &form_.LabelFileName, &form_.StaticTextSoftwareModem, &form_.StaticTextSoftwareModemVersionSoftware})
      on += x->Enabled() ? '1' : '0';
    return QString("%1|%2|%3%4|%5|%6")
        .arg(form_.StaticTextSoftwareModem.Text(), form_.StaticTextSoftwareModemVersionSoftware.Text())
        .arg(c(form_.StaticTextSoftwareModem)).arg(c(form_.StaticTextMessage))
        .arg(form_.StaticTextMessage.Text(), on).toStdString();
  }

  QTemporaryDir dir_;
  TIni ini_{dir_.path()};
  Fakes fakes_;
  std::int64_t nowMs_ = 0;
  TFormSoftware form_{fakes_, fakes_, fakes_, ini_, [this] { return nowMs_; }};
  std::vector<std::string> calls_;
  bool working_ = false;
};

// From a window with every field filled, green and every control on (first)
// or off (second), each state changes only what its row names.
TEST_F(FormSoftwareTest, UiStatesChangeOnlyWhatTheirRowsName) {
  const char* expected[kUpdateUiStateCount][2] = {
      {"||NN||100111", "||NN||000000"},         {"f|v|GG|m|111111", "f|v|GG|m|011000"},
      {"f|v|RR|m|111111", "f|v|RR|m|000000"},   {"f|v|GG|m|011111", "f|v|GG|m|000000"},
      {"f|v|GG|m|111111", "f|v|GG|m|100000"},   {"f|v|GG|m|111111", "f|v|GG|m|100000"},
      {"f|v|GG|m|111111", "f|v|GG|m|100000"},   {"f|v|GG|m|111111", "f|v|GG|m|100000"},
      {"||GR|m|000000", "||GR|m|000000"},
  };
  for (int state = 0; state < kUpdateUiStateCount; ++state) {
    for (int off = 0; off < 2; ++off) {
      for (ui::Control* c : form_.findChildren<ui::Control*>()) c->SetEnabled(off == 0);
      for (auto [field, text] : {std::pair{&form_.StaticTextSoftwareModem, "f"},
                                 {&form_.StaticTextSoftwareModemVersionSoftware, "v"}, {&form_.StaticTextMessage, "m"}}) {
        field->SetText(text);
        field->SetFontColor(ui::colors::kGreen);
      }
      form_.SetUpdateUiState(UpdateUiState(state));
      EXPECT_EQ(Looks(), expected[state][off]) << "state " << state << (off ? " from off" : " from on");
    }
  }
}

TEST_F(FormSoftwareTest, UpdateAndStopStartTheTransferFormTheModemRunsAndStopIt) {
  for (bool working : {false, true}) {
    working_ = working;
    StartUpdate();
    const CommandRequest& r = fakes_.last;
    EXPECT_EQ(std::tuple(r.command, r.subAddress, r.local, r.block.size(), r.softwareLevel),
              std::tuple(working ? 6 : 5, 1, true, 5u, 12));
    EXPECT_TRUE(std::equal(r.image.begin(), r.image.end(), sim::FirmwareImage().Bytes().begin()));
    EXPECT_EQ(Looks(), " good.vrk|3.15|NN| Update software ...|011111");
    EXPECT_EQ(form_.ButtonTransmitSoftwareModem.Caption(), "Stop");
    form_.ButtonTransmitSoftwareModem.Click();  // Stop: only the stop flag
    EXPECT_EQ(fakes_.terminates, working ? 2 : 1);
    fakes_.End(9);
  }
}

struct Outcome {
  std::uint8_t code;
  const char* looks;
};
class FormSoftwareResults : public FormSoftwareTest, public testing::WithParamInterface<Outcome> {};

TEST_P(FormSoftwareResults, EndOfTransferStateProgressMessageThenAlwaysIdleAgain) {
  StartUpdate();
  fakes_.last.host->ShowStatusText(" Can't open COM-port!");
  fakes_.last.host->ShowProgress(40);
  fakes_.End(GetParam().code);
  EXPECT_EQ(Looks(), GetParam().looks);
  EXPECT_EQ(form_.ProgressBar.Position(), GetParam().code == 42 ? 40 : 0);
  EXPECT_EQ(form_.ButtonTransmitSoftwareModem.Caption(), "Update");
  EXPECT_EQ(std::vector(form_.ResultArea().begin(), form_.ResultArea().end()), std::vector<std::uint8_t>(5, 0));
  EXPECT_EQ(calls_, (std::vector<std::string>{"running", "idle"}));
  // After a port error nothing gives the window back: not showing it again, not a drop.
  form_.FormShow();
  if (GetParam().code == 17) {
    EXPECT_FALSE(form_.FileDropped(Write("other.vrk")));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FormSoftwareResults,
    testing::Values(Outcome{5, " good.vrk|3.15|NN| Update software OK.|111111"},
                    Outcome{6, " good.vrk|3.15|NN| Update software OK.|111111"},
                    Outcome{7, " good.vrk|3.15|NN| Update software error !|111111"},
                    Outcome{8, " good.vrk|3.15|NN| Update software error !|111111"},
                    Outcome{9, " good.vrk|3.15|NN| Update software stopped !|111111"},
                    Outcome{17, "||NR| Can't open COM-port!|000000"},
                    Outcome{42, " good.vrk|3.15|NN| Can't open COM-port!|011111"}));

TEST_F(FormSoftwareTest, FilesRejectedStillRememberedCheckedAgainAtUpdateAndDropsTaken) {
  Choose(std::nullopt);  // cancelled: nothing happens
  form_.ButtonTransmitSoftwareModem.SetEnabled(true);
  form_.ButtonTransmitSoftwareModem.Click();
  EXPECT_EQ(Looks(), "||RR| No file software!|110111");

  sim::FirmwareImage broken;
  broken.Put(0x20010, {0});
  Choose(Write("broken.vrk", broken));
  EXPECT_EQ(Looks(), "||RR| Error in file \"broken.vrk\" !|100111");
  Choose(std::nullopt);
  EXPECT_EQ(fakes_.opened, (std::vector<QString>{QDir::currentPath() + "|", QDir::currentPath() + "|",
                                                 QDir::toNativeSeparators(dir_.path()) + "|broken.vrk"}));

  Choose(Write("good.vrk"));
  Write("good.vrk", broken);  // changed on disk after choosing
  form_.ButtonTransmitSoftwareModem.Click();
  EXPECT_EQ(Looks(), "||RR| Error in file \"good.vrk\" !|100111");
  EXPECT_EQ(std::tuple(fakes_.beeps, fakes_.Running()), std::tuple(3, false));

  EXPECT_TRUE(form_.FileDropped(Write("dropped.vrk")));
  EXPECT_EQ(Looks(), " dropped.vrk|3.15|NN||111111");
  EXPECT_EQ(ini_.ReadString("FormSoftware", "LoadFileNameSoftwareModem", {}), "dropped.vrk");
}

TEST_F(FormSoftwareTest, ClosingByUserByMainWindowAndWhileTheTransferRuns) {
  form_.FormCloseQuery();
  form_.SetClosedByMainWindow();
  form_.FormCloseQuery();  // a reset: the main window closes it itself
  form_.FormShow();
  EXPECT_FALSE(form_.ClosedByMainWindow());
  StartUpdate();
  form_.FormCloseQuery();  // the transfer goes on, the main window stays locked
  EXPECT_EQ(fakes_.terminates, 0);
  fakes_.End(6);
  EXPECT_EQ(calls_, (std::vector<std::string>{"closed", "running", "idle", "closed"}));
}

TEST_F(FormSoftwareTest, ProgressTextTimeLeftAndRateOnlyWhileBlocksAreWritten) {
  StartUpdate();
  ProtocolHost& host = *fakes_.last.host;
  std::vector<QString> texts;
  for (auto [ms, text, progress] : {std::tuple{0, " Erase software ...", 40}, {10'000, " Update software ...", 0},
                                    {10'500, "", 1}, {76'600, "", 37}}) {  // 37 % in 66.6 s: 113.4 s to go
    nowMs_ = ms;
    if (*text) host.ShowStatusText(text);
    host.ShowProgress(progress);
    texts.push_back(form_.ProgressBar.Text());
  }
  fakes_.End(6);
  texts.push_back(form_.ProgressBar.Text());
  EXPECT_EQ(texts, (std::vector<QString>{"", "0 %", "1 %", "37 % - 1:54 left - 1.8 kB/s", ""}));
  EXPECT_EQ(TransferEstimate::Duration(3'723'000), "1:02:03");
}

}  // namespace
}  // namespace rkvt
