// The setup window's logic without a window: commands, stops, results.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "link/Commands.h"
#include "setup/TFormSetup.h"
#include "FakeRunner.h"
#include "SetupTestSupport.h"
#include "ui/ManualClock.h"

namespace rkvt {
namespace {

using setup::test::Rec;
using test::FakeRunner;

// Level 7, variant 0, P2 Sync, profile 3: Connection flips bit 7 of byte 0 ("Long" at 0).
const setup::RecordBytes kRecord = Rec({{11, 1}, {16, 0xA1}, {17, 0xB2}, {18, 0xC3}, {19, 0xD4}, {21, 3}});

struct FormSetup : testing::Test {
  FormSetup() {
    form.Main = {.setupClosed = [this](ui::Color c, const QString& t) { closed = {c, t}; },
                 .progressOn = [this] { ++progress; },
                 .progressOff = [this] { --progress; },
                 .targetLocal = [] { return true; }};
    form.EnterSetup("R-KVT-MS - Setup local modem", " Enter modem setup OK.", kRecord, {7, 0});
  }
  void TearDown() override {
    for (const auto& s : runner.starts) EXPECT_EQ(s.subAddress, 2) << "command " << +s.command;
  }
  // The command ends; its reply carries a record at byte 2.
  void Complete(std::uint8_t result, const setup::RecordBytes& reply = {}) {
    std::copy(reply.begin(), reply.end(), runner.last.block.begin() + 2);
    runner.Complete(result);
  }
  QString Value(const char* key) { return form.Model().List().Value(QString::fromLatin1(key)).value_or("<none>"); }
  bool Red() { return form.StatusBarMessages.FontColor() == ui::colors::kRed; }
  void Flip() { form.ParamListBoxSetup.ClickLink("MConnection"); }
  void Exit() { form.ButtonClose.Click(), clock.Advance(TFormSetup::kExitWaitMs); }
  // Enabled: list, load list, save list, Load, Save, Close.
  std::string Enabled() {
    const ui::Control* c[] = {&form.ParamListBoxSetup,  &form.ComboBoxProfilesLoad, &form.ComboBoxProfilesSave,
                              &form.ButtonProfilesLoad, &form.ButtonProfilesSave,   &form.ButtonClose};
    std::string s;
    for (const ui::Control* k : c) s += k->Enabled() ? '1' : '0';
    return s;
  }

  ui::ManualClock clock;
  FakeRunner runner;
  test::CountingBeeper beeps;
  TFormSetup form{runner, clock, beeps};
  std::optional<std::pair<ui::Color, QString>> closed;
  int progress = 0;
};

// Each result: message, colour, beep, window, and the record the list shows
// afterwards ("Short" = the change or the loaded profile, "Long" = the modem's copy).
struct ResultCase { const char* name; std::function<void(FormSetup&)> start; std::uint8_t result; const char* text;
                    bool error, closes; const char* connection; };
struct ResultTable : FormSetup, testing::WithParamInterface<ResultCase> {};

TEST_P(ResultTable, MessageColourBeepAndList) {
  const ResultCase& c = GetParam();
  c.start(*this);
  EXPECT_EQ(progress, 1);
  if (c.result == result::kPortError) form.WorkerHost().ShowStatusText(" Can't open COM-port!");
  Complete(c.result, Rec({{0, 0x80}, {11, 1}}));

  EXPECT_EQ(std::tuple(progress, beeps.beeps, Enabled(), form.Shown()),
            std::tuple(0, c.error ? 1 : 0, "111111", !c.closes));
  EXPECT_EQ(form.ButtonClose.Caption() + form.ButtonProfilesLoad.Caption() + form.ButtonProfilesSave.Caption(),
            "CloseLoadSave");
  EXPECT_EQ(std::count(runner.last.block.begin(), runner.last.block.end(), 0), kSetupBlockSize) << "block cleared";
  if (c.closes) {
    EXPECT_EQ(closed, std::pair(c.error ? ui::colors::kRed : ui::Color::WindowText(), QString(c.text)));
    return;
  }
  EXPECT_FALSE(closed);
  EXPECT_EQ(std::tuple(form.StatusBarMessages.Text(), Red(), Value("MConnection")),
            std::tuple(QString(c.text), c.error, QString(c.connection)));
  EXPECT_EQ(form.ParamListBoxSetup.Rows(), form.Model().List().Rows());
}

const auto kExit = [](FormSetup& t) { t.Exit(); };
const auto kSet = [](FormSetup& t) { t.Flip(); };
const auto kLoad = [](FormSetup& t) { t.form.ButtonProfilesLoad.Click(); };
const auto kSave = [](FormSetup& t) { t.form.ButtonProfilesSave.Click(); };

INSTANTIATE_TEST_SUITE_P(
    Setup, ResultTable,
    testing::Values(ResultCase{"Exit22", kExit, 22, " Exit modem setup OK.", false, true, ""},
                    ResultCase{"Exit23", kExit, 23, " Exit modem setup error!", true, true, ""},
                    ResultCase{"Exit24", kExit, 24, " Exit modem setup stopped.", false, false, "Long"},
                    ResultCase{"Set31", kSet, 31, " Set new mode OK.", false, false, "Short"},
                    ResultCase{"Set32", kSet, 32, " Set new mode error!", true, false, "Long"},
                    ResultCase{"Set33", kSet, 33, " Set new mode stopped.", false, false, "Long"},
                    ResultCase{"Load34", kLoad, 34, " Load profile OK.", false, false, "Short"},
                    ResultCase{"Load35", kLoad, 35, " Load profile error!", true, false, "Long"},
                    ResultCase{"Load36", kLoad, 36, " Load profile stopped.", false, false, "Long"},
                    ResultCase{"Save37", kSave, 37, " Save profile OK.", false, false, "Long"},
                    ResultCase{"Save38", kSave, 38, " Save profile error!", true, false, "Long"},
                    ResultCase{"Save39", kSave, 39, " Save profile stopped.", false, false, "Long"},
                    // The change never reached the modem: its record again.
                    ResultCase{"SetPortError", kSet, 17, " Can't open COM-port!", true, false, "Long"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormSetup, LoadStoppedByItsOwnButtonRebuildsAnotherViewWithItsProfiles) {
  EXPECT_EQ(form.ComboBoxProfilesLoad.Text() + form.ComboBoxProfilesSave.Text(), "33");
  form.ComboBoxProfilesLoad.Choose(4);
  form.ButtonProfilesLoad.Click();
  EXPECT_EQ(runner.starts.back().block[2], 5);
  EXPECT_EQ(Enabled(), "000100");
  form.ButtonProfilesLoad.Click();  // Stop
  EXPECT_EQ(runner.terminates, 1);
  Complete(34, Rec({{11, 4}, {21, 1}}));  // E1 + KSI, profile 1
  EXPECT_EQ(form.Layout().windowHeight, 650);
  EXPECT_EQ(form.ComboBoxProfilesLoad.Text() + form.ComboBoxProfilesSave.Text(), "12");
}

TEST_F(FormSetup, StopDuringSetNewModeKeepsTheChangeNextPickSendsBothExitCarriesTheReceivedPayload) {
  Flip();
  EXPECT_EQ(runner.starts[0].block[1], kRecord[0] | 0x80);
  EXPECT_EQ(Enabled(), "000001");
  form.ButtonClose.Click();  // reads "Stop"
  Complete(33);
  EXPECT_EQ(std::tuple(form.StatusBarMessages.Text(), Red(), Value("MConnection")),
            std::tuple(QString(" Set new mode stopped!"), true, QString("Short")));

  form.ParamListBoxSetup.ClickLink("Interleaver");  // a list opens: nothing sent yet
  ASSERT_TRUE(form.ParamListBoxSetup.Dropped());
  EXPECT_EQ(runner.starts.size(), 1u);
  form.ParamListBoxSetup.PickChoice("Interleaver", form.ParamListBoxSetup.Dropped()->entries[2]);
  ASSERT_EQ(runner.starts.size(), 2u);
  EXPECT_EQ(runner.starts[1].block[1], 0x80 | 0x40) << "both changes";
  Complete(31);

  form.ButtonClose.Click();
  EXPECT_EQ(form.StatusBarMessages.Text(), " Exit modem setup ...");
  clock.Advance(TFormSetup::kExitWaitMs - 1);
  EXPECT_EQ(runner.starts.size(), 2u) << "not before the pause";
  clock.Advance(1);
  const auto& exit = runner.starts.back();
  EXPECT_EQ(std::pair(+exit.command, std::vector(exit.block.begin() + 1, exit.block.begin() + 6)),
            std::pair(22, std::vector<std::uint8_t>{0xA1, 0xB2, 0xC3, 0xD4, 0}));
}

TEST_F(FormSetup, StopOnCloseInThePauseOrBeforeTheAnswerClosesWithRedStopped) {
  for (const bool sent : {false, true}) {
    form.EnterSetup("c", " m", kRecord, {7, 0});
    form.ButtonClose.Click();
    if (sent) clock.Advance(TFormSetup::kExitWaitMs);
    form.ButtonClose.Click();
    EXPECT_EQ(runner.terminates, sent ? 1 : 0);
    if (sent) Complete(24);
    clock.Advance(1000);
    EXPECT_EQ(runner.starts.size(), sent ? 1u : 0u);
    EXPECT_FALSE(form.Shown());
    EXPECT_EQ(closed, std::pair(ui::colors::kRed, QString(" Exit modem setup stopped!")));
  }
}

}  // namespace
}  // namespace rkvt
