#include "SetupTestSupport.h"

#include "setup/Rules.h"

namespace rkvt::setup::test {
namespace {

// Bits some parameter may write; everything else must reach the modem as received.
constexpr RecordBytes kNamedBits{0xE3, 0xFF, 0x18, 0x38, 0x00, 0x03, 0xFF, 0xFD, 0x00, 0x78, 0x00, 0xFF, 0x00,
                                 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

std::string CarriedBitsDiffer(const ConfigRecord& r) {
  for (std::size_t i = 0; i < kRecordSize; ++i) {
    const int mask = ~kNamedBits[i] & 0xFF;
    if ((r.Working()[i] & mask) != (r.Received()[i] & mask)) return "byte " + std::to_string(i);
  }
  return {};
}

// Module sets: byte 22 (slot codes), byte 23 (the older QLD-ENX flag).
constexpr std::pair<int, int> kModules[] = {{0x00, 1}, {(3 << 5) | (2 << 1), 0}, {4 << 1, 0}};

// Every level, variant, interface field and module set, with the other bytes
// drawn from a fixed sequence.
TEST(EveryModem, ListsBuildAndEveryChoiceAndFlipKeepsTheCarriedBits) {
  std::uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(seed >> 16);
  };
  int checkedChoices = 0;
  for (int level = 1; level <= 17; ++level) {
    if (level == 6) continue;
    for (int variant = 0; variant <= 9; ++variant) {
      for (int field = 0; field <= 7; ++field) {
        for (const auto& [slotCodes, legacy] : kModules) {
          RecordBytes record;
          for (auto& b : record) b = next();
          record[11] = static_cast<std::uint8_t>((record[11] & 0xF8) | field);
          record[22] = static_cast<std::uint8_t>(slotCodes);
          record[23] = static_cast<std::uint8_t>(legacy);
          const SetupModel built = Built(level, variant, record);
          SCOPED_TRACE(testing::Message() << "level " << level << " variant " << variant << " field " << field
                                          << " slot codes " << slotCodes);
          ASSERT_GE(built.List().Rows().size(), 5);
          ASSERT_TRUE(built.List().Rows().first().startsWith(QLatin1String(" Parameter :")));

          for (const QString& row : built.List().Rows()) {
            const auto name = LinkKey(row);
            if (!name) continue;
            const auto key = FindKey(*name);
            ASSERT_TRUE(key) << "unknown key " << name->toStdString();
            // Where the record decodes the key, the row shows that text.
            EXPECT_EQ(built.Record().Decode(*key).value_or(*LinkValue(row)), *LinkValue(row)) << name->toStdString();

            if (KindOf(*key) == KeyKind::Flip) {
              SetupModel m = built;
              EXPECT_EQ(m.ClickLink(*name).action, SetupModel::ClickAction::Flipped);
              EXPECT_NE(*m.List().Value(*name), *LinkValue(row)) << name->toStdString();
              EXPECT_EQ(CarriedBitsDiffer(m.Record()), "") << "flip " << name->toStdString();
              continue;
            }
            for (const QString& entry : built.ChoiceList(*name)) {
              SetupModel m = built;
              m.Choose(*name, entry);
              EXPECT_EQ(CarriedBitsDiffer(m.Record()), "") << name->toStdString();
              if (IsNotice(entry)) {
                EXPECT_EQ(m.Record().Working(), record);
                continue;
              }
              EXPECT_EQ(m.Record().Decode(*key).value_or(QString()), entry)
                  << name->toStdString() << " \"" << entry.toStdString() << "\"";
              ++checkedChoices;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(checkedChoices, 100000);
}

}  // namespace
}  // namespace rkvt::setup::test
