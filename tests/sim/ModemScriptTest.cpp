#include "sim/ModemScript.h"

#include <gtest/gtest.h>

#include <sstream>

namespace rkvt::sim {
namespace {

std::variant<std::vector<ScriptStep>, std::string> Parse(const std::string& text) {
  std::istringstream in(text);
  return ParseScript(in);
}

TEST(ModemScript, StepsApplyToBothModems_AlarmsActiveLow) {
  const auto parsed = Parse("# a story\n\n0 quality=0 alarms=none link=up\n30  quality=5 alarms=LOS,LOF  # drop\n"
                            "30 interface=eth100 link=down\n");
  const auto& steps = std::get<std::vector<ScriptStep>>(parsed);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].atSeconds, 30);
  EXPECT_EQ(steps[1].text, "quality=5 alarms=LOS,LOF");

  ModemModel model;
  model.RemoteIdentity() = model.LocalIdentity();
  ASSERT_TRUE(ApplyStep(model, steps[0]) && ApplyStep(model, steps[1]));
  for (const ModemPeer* peer : {&model.Local(), &model.Remote()}) {
    EXPECT_EQ(peer->state.quality, 5);
    EXPECT_EQ(peer->state.slotA.e1Alarms, 0xFC);
  }
  ASSERT_TRUE(ApplyStep(model, steps[2]));
  for (const ModemPeer* peer : {&model.Local(), &model.Remote()}) {
    EXPECT_TRUE(peer->state.slotA.ethernet.link);  // the bit set: link down
    EXPECT_EQ(peer->state.slotA.interface, slot_interface::kEthernet100);
  }
}

TEST(ModemScript, BadLines_NameTheLineAndWhat) {
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"x quality=1", "line 1: bad time x"},
           {"10 quality=1\n5 quality=2", "line 2: time goes backwards"},
           {"10", "line 1: no change"},
           {"1 quality=8", "line 1: bad change quality=8"},
           {"1 alarms=LOS,XX", "line 1: bad change alarms=LOS,XX"},
           {"1 link=maybe", "line 1: bad change link=maybe"},
           {"1 interface=token-ring", "line 1: bad change interface=token-ring"},
           {"9999999 quality=1", "line 1: bad time 9999999"},
       }) {
    const auto parsed = Parse(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
    EXPECT_EQ(std::get<std::string>(parsed), message);
  }
}

}  // namespace
}  // namespace rkvt::sim
