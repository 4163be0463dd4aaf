#include <gtest/gtest.h>

#include <QString>

#include "ExitStatus.h"
#include "TestKinds.h"
#include "WorkerOutcome.h"

namespace rkvt::cli {
namespace {

struct KindCase {
  const char* name;  // as typed
  std::uint8_t code;
  std::uint8_t pageAt6;
  std::uint8_t pageAt7;
  bool remote;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

class TestKindLookup : public ::testing::TestWithParam<KindCase> {};

TEST_P(TestKindLookup, GivesTestCodeAndPageOfBothGenerations) {
  const KindCase& c = GetParam();
  const TestKind* test = FindTestKind(QString::fromLatin1(c.name));
  ASSERT_NE(test, nullptr);
  EXPECT_EQ(test->code, c.code);
  EXPECT_EQ(LoopPageCode(*test, 0), c.pageAt6);
  EXPECT_EQ(LoopPageCode(*test, 6), c.pageAt6);
  EXPECT_EQ(LoopPageCode(*test, 7), c.pageAt7);
  EXPECT_EQ(LoopPageCode(*test, 17), c.pageAt7);
  EXPECT_EQ(test->remote, c.remote);
}

INSTANTIATE_TEST_SUITE_P(Tests, TestKindLookup,
                         ::testing::Values(KindCase{"RDL-ES", 1, 5, 9, true}, KindCase{"al-es", 4, 5, 9, false},
                                           KindCase{"Es", 6, 5, 9, false}, KindCase{"rdl", 2, 6, 7, true},
                                           KindCase{"AL", 7, 6, 7, false}, KindCase{"dL", 8, 4, 8, true},
                                           KindCase{"ll", 10, 6, 7, true}));

TEST(TestKindLookup, NearMissesAreNotTests) {
  for (const char* name : {"RDL ES", "RDLES", "E", "LLL", ""}) EXPECT_EQ(FindTestKind(QString::fromLatin1(name)), nullptr) << name;
}

struct OutcomeCase {
  std::uint8_t command;
  std::uint8_t result;
  int exitStatus;
};

void PrintTo(const OutcomeCase& c, std::ostream* os) {
  *os << "command " << int(c.command) << " result " << int(c.result);
}

class ResultExitStatus : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(ResultExitStatus, FollowsDoneFailedStopped) {
  EXPECT_EQ(ExitStatusOf(OutcomeOf(GetParam().command, GetParam().result)), GetParam().exitStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ResultExitStatus,
    ::testing::Values(
        // identify: either framing counts as done
        OutcomeCase{2, 1, kExitDone}, OutcomeCase{2, 2, kExitDone}, OutcomeCase{2, 3, kExitFailed},
        OutcomeCase{2, 4, kExitStopped}, OutcomeCase{2, 17, kExitStopped},
        // result 5 is done only for the loader transfer that writes it
        OutcomeCase{5, 5, kExitDone}, OutcomeCase{6, 6, kExitDone}, OutcomeCase{6, 5, kExitFailed},
        OutcomeCase{5, 7, kExitFailed}, OutcomeCase{6, 8, kExitFailed}, OutcomeCase{5, 9, kExitStopped},
        // both reset forms share failed 12 and stopped 13
        OutcomeCase{10, 10, kExitDone}, OutcomeCase{10, 12, kExitFailed}, OutcomeCase{10, 13, kExitStopped},
        OutcomeCase{11, 11, kExitDone}, OutcomeCase{11, 13, kExitStopped}, OutcomeCase{14, 14, kExitDone},
        OutcomeCase{14, 15, kExitFailed}, OutcomeCase{14, 16, kExitStopped},
        // a refusal is a failure, not a stop
        OutcomeCase{18, 18, kExitDone}, OutcomeCase{18, 19, kExitFailed}, OutcomeCase{18, 21, kExitStopped},
        OutcomeCase{25, 25, kExitDone}, OutcomeCase{25, 26, kExitFailed}, OutcomeCase{25, 27, kExitStopped},
        OutcomeCase{37, 39, kExitStopped},
        // connect loop: 41 is its stop, 42..45 its failures
        OutcomeCase{40, 40, kExitDone}, OutcomeCase{40, 41, kExitStopped}, OutcomeCase{40, 42, kExitFailed},
        OutcomeCase{40, 43, kExitFailed}, OutcomeCase{40, 44, kExitFailed}, OutcomeCase{40, 45, kExitFailed},
        OutcomeCase{46, 46, kExitDone}, OutcomeCase{46, 47, kExitStopped}, OutcomeCase{46, 48, kExitFailed},
        OutcomeCase{53, 53, kExitDone}, OutcomeCase{53, 55, kExitStopped}, OutcomeCase{53, 17, kExitStopped},
        // a worker that never ran leaves 0
        OutcomeCase{28, 0, kExitFailed}));

}  // namespace
}  // namespace rkvt::cli
