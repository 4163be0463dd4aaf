// The setup window's logic without a window: commands, stops, results.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "link/Commands.h"
#include "setup/TFormSetup.h"
#include "SetupTestSupport.h"
#include "ui/ManualClock.h"

namespace rkvt {
namespace {

using setup::test::Rec;

// Records each start with its request bytes; the test ends the command.
class FakeRunner : public CommandRunner {
 public:
  struct Started {
    std::uint8_t command, subAddress;
    bool local;
    std::vector<std::uint8_t> request;  // bytes 1-26
  };
  std::unique_ptr<RunningCommand> Start(const CommandRequest& r, std::function<void()> done) override {
    EXPECT_FALSE(pending) << "a second command while one runs";
    EXPECT_EQ(r.block.size(), kSetupBlockSize);
    starts.push_back({r.command, r.subAddress, r.local, {r.block.begin() + 1, r.block.begin() + 27}});
    block = r.block;
    pending = std::move(done);
    return std::make_unique<Handle>(*this);
  }
  void Complete(std::uint8_t result, const setup::RecordBytes* reply = nullptr) {
    ASSERT_TRUE(pending);
    if (reply) std::copy(reply->begin(), reply->end(), block.begin() + 2);
    block[0] = result;
    std::exchange(pending, nullptr)();
  }
  std::vector<Started> starts;
  int terminates = 0;
  std::function<void()> pending;
  std::span<std::uint8_t> block;

 private:
  struct Handle : RunningCommand {
    explicit Handle(FakeRunner& r) : runner(r) {}
    void Terminate() override { ++runner.terminates; }
    FakeRunner& runner;
  };
};

struct Beeps : ui::Beeper {
  void Beep() override { ++count; }
  int count = 0;
};

// Level 7, variant 0, P2 Sync: Connection flips bit 7 of byte 0 ("Long" at 0).
const setup::RecordBytes kRecord = Rec({{11, 1}, {16, 0xA1}, {17, 0xB2}, {18, 0xC3}, {19, 0xD4}, {21, 3}});

class FormSetup : public testing::Test {
  public:
  FormSetup() {
    form.Main = {.setupClosed = [this](ui::Color c, const QString& t) { closed = {c, t}; },
                 .progressOn = [this] { ++progress; },
                 .progressOff = [this] { --progress; },
                 .targetLocal = [] { return false; }};
    form.EnterSetup("R-KVT-MS - Setup remote modem", " Enter modem setup OK.", kRecord, {7, 0});
  }
  QString Value(const char* key) { return form.Model().List().Value(QString::fromLatin1(key)).value_or("<none>"); }
  QString Message() { return form.StatusBarMessages.Text(); }
  bool Red() { return form.StatusBarMessages.FontColor() == ui::colors::kRed; }
  void Flip() { form.ParamListBoxSetup.ClickLink("MConnection"); }
  void Exit() {
    form.ButtonClose.Click();
    clock.Advance(TFormSetup::kExitWaitMs);
  }
  // Enabled: list, load list, save list, Load, Save, Close.
  std::string Enabled() {
    std::string s;
    for (ui::Control* c : std::initializer_list<ui::Control*>{&form.ParamListBoxSetup, &form.ComboBoxProfilesLoad,
                                                               &form.ComboBoxProfilesSave, &form.ButtonProfilesLoad,
                                                               &form.ButtonProfilesSave, &form.ButtonClose})
      s += c->Enabled() ? '1' : '0';
    return s;
  }

  ui::ManualClock clock;
  FakeRunner runner;
  Beeps beeps;
  TFormSetup form{runner, clock, beeps};
  std::optional<std::pair<ui::Color, QString>> closed;
  int progress = 0;
};

TEST_F(FormSetup, Enter_ShowsRecordCaptionAndProfileOfByte21) {
  EXPECT_TRUE(form.Shown());
  EXPECT_EQ(form.Caption(), "R-KVT-MS - Setup remote modem");
  EXPECT_EQ(Message(), " Enter modem setup OK.");
  EXPECT_EQ(form.ParamListBoxSetup.Rows(), form.Model().List().Rows());
  EXPECT_EQ(form.ParamListBoxSetup.Rows().first(), R"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)");
  EXPECT_EQ(form.ComboBoxProfilesLoad.Text(), "3");
  EXPECT_EQ(form.ComboBoxProfilesSave.Text(), "3");
  EXPECT_EQ(form.Layout().windowHeight, 450);
  EXPECT_EQ(Enabled(), "111111");

  form.EnterSetup("c", " m", Rec({{21, 1}}), {7, 0});  // profile 1 cannot be saved over
  EXPECT_EQ(form.ComboBoxProfilesLoad.Text(), "1");
  EXPECT_EQ(form.ComboBoxProfilesSave.Text(), "2");
}

// Each result: its message, colour, beep, the window, and the record the
// list shows afterwards ("Short" = the change, "Long" = the modem's copy).
struct ResultCase {
  const char* name;
  std::function<void(FormSetup&)> start;
  std::uint8_t result;
  const char* text;
  bool error;
  bool closes;
  const char* connection;  // MConnection after the result
};

class ResultTable : public FormSetup, public testing::WithParamInterface<ResultCase> {};

TEST_P(ResultTable, MessageColourBeepAndList) {
  const ResultCase& c = GetParam();
  c.start(*this);
  ASSERT_TRUE(runner.pending);
  EXPECT_EQ(progress, 1);
  const setup::RecordBytes loaded = Rec({{0, 0x80}, {11, 1}});
  if (c.result == result::kPortError) form.WorkerHost().ShowStatusText(" Can't open COM-port!");
  runner.Complete(c.result, &loaded);

  EXPECT_EQ(progress, 0);
  EXPECT_EQ(beeps.count, c.error ? 1 : 0);
  EXPECT_EQ(Enabled(), "111111");
  EXPECT_EQ(form.ButtonClose.Caption(), "Close");
  EXPECT_EQ(form.ButtonProfilesLoad.Caption(), "Load");
  EXPECT_EQ(form.ButtonProfilesSave.Caption(), "Save");
  EXPECT_TRUE(std::all_of(runner.block.begin(), runner.block.end(), [](auto b) { return b == 0; })) << "block cleared";
  if (c.closes) {
    EXPECT_FALSE(form.Shown());
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->second, c.text);
    EXPECT_EQ(closed->first, c.error ? ui::colors::kRed : ui::Color::WindowText());
    return;
  }
  EXPECT_TRUE(form.Shown());
  EXPECT_FALSE(closed);
  EXPECT_EQ(Message(), c.text);
  EXPECT_EQ(Red(), c.error);
  EXPECT_EQ(Value("MConnection"), c.connection);
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
                    // The port could not be opened: the worker has said so; the change did not arrive.
                    ResultCase{"SetPortError", kSet, 17, " Can't open COM-port!", true, false, "Long"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormSetup, Commands_RequestBytesSubAddressTargetAndLocks) {
  Flip();
  ASSERT_EQ(runner.starts.size(), 1u);
  EXPECT_EQ(runner.starts[0].command, 31);
  EXPECT_EQ(runner.starts[0].subAddress, 2);
  EXPECT_FALSE(runner.starts[0].local);
  setup::RecordBytes sent = kRecord;
  sent[0] |= 0x80;
  EXPECT_TRUE(std::equal(sent.begin(), sent.end(), runner.starts[0].request.begin())) << "the working copy";
  EXPECT_EQ(Message(), " Set new mode ...");
  EXPECT_EQ(form.ButtonClose.Caption(), "Stop");
  EXPECT_EQ(Enabled(), "000001");
  form.ParamListBoxSetup.ClickLink("MConnection");  // disabled: ignored
  runner.Complete(31);

  form.ComboBoxProfilesLoad.Choose(4);
  form.ButtonProfilesLoad.Click();
  EXPECT_EQ(runner.starts.back().command, 34);
  EXPECT_EQ(runner.starts.back().request[0], 0);
  EXPECT_EQ(runner.starts.back().request[1], 5);
  EXPECT_EQ(Message(), " Load profile ...");
  EXPECT_EQ(Enabled(), "000100");
  EXPECT_EQ(form.ButtonProfilesLoad.Caption(), "Stop");
  form.ButtonProfilesLoad.Click();
  EXPECT_EQ(runner.terminates, 1);
  runner.Complete(36);

  form.ComboBoxProfilesSave.Choose(0);
  form.ButtonProfilesSave.Click();
  EXPECT_EQ(runner.starts.back().command, 37);
  EXPECT_EQ(runner.starts.back().request[1], 2);
  EXPECT_EQ(Enabled(), "000010");
  EXPECT_EQ(runner.starts.size(), 3u);
}

TEST_F(FormSetup, Exit_WaitsThenSendsThePayloadOfTheReceivedRecord) {
  Flip();
  form.ButtonClose.Click();  // Stop: the change stays in the working copy
  runner.Complete(33);
  ASSERT_EQ(Value("MConnection"), "Short");

  form.ButtonClose.Click();
  EXPECT_EQ(Message(), " Exit modem setup ...");
  EXPECT_EQ(Enabled(), "000001");
  clock.Advance(TFormSetup::kExitWaitMs - 1);
  EXPECT_EQ(runner.starts.size(), 1u) << "not before the pause";
  clock.Advance(1);
  ASSERT_EQ(runner.starts.size(), 2u);
  EXPECT_EQ(runner.starts[1].command, 22);
  EXPECT_EQ(std::vector<std::uint8_t>(runner.starts[1].request.begin(), runner.starts[1].request.begin() + 4),
            (std::vector<std::uint8_t>{0xA1, 0xB2, 0xC3, 0xD4}));
}

TEST_F(FormSetup, StopOnClose_BeforeTheAnswer_ClosesWithRedStoppedOnTheMainWindow) {
  Exit();
  form.ButtonClose.Click();
  EXPECT_EQ(runner.terminates, 1);
  EXPECT_TRUE(form.Shown()) << "until the worker has ended";
  runner.Complete(24);
  EXPECT_FALSE(form.Shown());
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->second, " Exit modem setup stopped!");
  EXPECT_EQ(closed->first, ui::colors::kRed);
  EXPECT_EQ(beeps.count, 1);
}

TEST_F(FormSetup, StopOnClose_InThePause_SendsNothingAndCloses) {
  form.ButtonClose.Click();
  form.ButtonClose.Click();
  clock.Advance(1000);
  EXPECT_TRUE(runner.starts.empty());
  EXPECT_FALSE(form.Shown());
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->second, " Exit modem setup stopped!");
  EXPECT_EQ(progress, 0);
}

TEST_F(FormSetup, StopDuringSetNewMode_KeepsTheChangeAndTheNextSendCarriesBoth) {
  Flip();
  form.ButtonClose.Click();
  EXPECT_EQ(runner.terminates, 1);
  runner.Complete(33);  // the modem exchange reports its stop; the user's Stop wins
  EXPECT_EQ(Message(), " Set new mode stopped!");
  EXPECT_TRUE(Red());
  EXPECT_EQ(beeps.count, 1);
  EXPECT_EQ(Value("MConnection"), "Short");

  const QStringList entries = form.Model().ChoiceList(QStringLiteral("Interleaver"));
  ASSERT_GE(entries.size(), 2);
  form.ParamListBoxSetup.ClickLink("Interleaver");
  ASSERT_TRUE(form.ParamListBoxSetup.Dropped());
  EXPECT_EQ(form.ParamListBoxSetup.Dropped()->entries, entries);
  form.ParamListBoxSetup.PickChoice("Interleaver", entries[1]);
  EXPECT_FALSE(form.ParamListBoxSetup.Dropped());
  ASSERT_EQ(runner.starts.size(), 2u);
  EXPECT_EQ(runner.starts[1].request[0] & 0x80, 0x80) << "the first change";
  EXPECT_NE(runner.starts[1].request[0] & 0x60, 0) << "the second change";
  EXPECT_EQ(Message(), " Set new mode ...");
  EXPECT_FALSE(Red());
}

TEST_F(FormSetup, Load_RebuildsIntoAnotherViewAndTheHeightFollows) {
  form.ButtonProfilesLoad.Click();
  const setup::RecordBytes ksi = Rec({{11, 4}, {21, 4}});
  runner.Complete(34, &ksi);
  EXPECT_EQ(form.Model().Record().InterfaceView(), setup::view::kE1Ksi);
  EXPECT_EQ(form.Layout().windowHeight, 650);
  EXPECT_EQ(form.Layout().listHeight, 497);
  EXPECT_TRUE(form.ParamListBoxSetup.Rows().contains(R"(     Sync BitRate, Kbit/s : <IND x="150">64)"));
  EXPECT_EQ(form.ComboBoxProfilesLoad.Text(), "4");
  EXPECT_EQ(form.Model().Record().Received(), ksi);
}

TEST_F(FormSetup, Links_WithoutAChangeSendNothing_HelpLineRestoredOnLeave) {
  form.ParamListBoxSetup.ClickLink("Interleaver");
  form.ParamListBoxSetup.PickChoice("Interleaver", Value("Interleaver"));  // the value shown already
  form.ParamListBoxSetup.ClickLink("NoSuchKey");
  form.ParamListBoxSetup.PickChoice("MBitRate", "128");  // no list was dropped for it
  EXPECT_TRUE(runner.starts.empty());

  form.StatusBarHelpLine.SetSimpleText(" Modem setup parameters");
  form.ParamListBoxSetup.EnterLink("MConnection");
  EXPECT_EQ(form.StatusBarHelpLine.SimpleText(), form.Model().HelpText(QStringLiteral("MConnection")));
  EXPECT_TRUE(form.StatusBarHelpLine.SimpleText().startsWith(' '));
  form.ParamListBoxSetup.LeaveLink("MConnection");
  EXPECT_EQ(form.StatusBarHelpLine.SimpleText(), " Modem setup parameters");
}

}  // namespace
}  // namespace rkvt
