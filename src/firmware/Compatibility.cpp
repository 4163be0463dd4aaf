#include "firmware/Compatibility.h"

#include <array>
#include <initializer_list>
#include <limits>

namespace rkvt {
namespace {

// Bit n set: major digit n (0..15).
using MajorSet = std::uint16_t;

constexpr MajorSet Majors(std::initializer_list<int> majors) {
  MajorSet set = 0;
  for (int major : majors) set |= static_cast<MajorSet>(1u << major);
  return set;
}

constexpr MajorSet kAnyMajor = 0xFFFF;
constexpr int kNoLimit = std::numeric_limits<int>::max();

struct Refusal {
  MajorSet majors;  // 0: slot unused
  const char* before;
  const char* after;
};

struct Rule {
  int firstLevel;
  int lastLevel;
  MajorSet accepted;
  int highestNumber;
  std::array<Refusal, 2> refusals;  // the first one that holds the major speaks
};

constexpr Refusal kOnlyFirstGeneration{kAnyMajor, " SW higher 2.xx (", ") can't be load into R-KVT-MS !"};
constexpr Refusal kFirstGenerationIntoSecond{Majors({0, 1, 2}), " SW 1.xx or 2.xx (",
                                             ") can't be load into R-KVT-MS-2 !"};

constexpr Rule kRules[] = {
    {0, 8, Majors({0, 1, 2}), kNoLimit, {kOnlyFirstGeneration}},
    {21, 21, Majors({0, 1, 2}), kNoLimit, {kOnlyFirstGeneration}},
    {9, 12, Majors({3}), 315,
     {kFirstGenerationIntoSecond, {kAnyMajor, " SW higher 3.15 (", ") can't be load into R-KVT-MS-2 !"}}},
    {13, 13, Majors({4, 6}), kNoLimit, {{{kAnyMajor, " SW ", " can't be load into R-KVT-MS-2-PLN 3ch !"}}}},
    {14, 15, Majors({5}), kNoLimit,
     {{{kAnyMajor, " SW not 5.xx (", ") can't be load into R-KVT-MS-2-PLN 1ch !"}}}},
    {16, 16, Majors({6}), kNoLimit,
     {{{kAnyMajor, " SW not 6.xx (", ") can't be load into R-KVT-MS-2-PLN 3ch !"}}}},
    {17, 17, Majors({7}), kNoLimit,
     {{{kAnyMajor, " SW not 7.xx (", ") can't be load into R-KVT-MS-2-PLN 2ch !"}}}},
    {22, 22, static_cast<MajorSet>(~Majors({0, 1, 2, 5, 7})), kNoLimit,
     {kFirstGenerationIntoSecond, {Majors({5, 7}), " SW 5.xx (", ") can't be load into R-KVT-MS-2 !"}}},
    {23, 23, static_cast<MajorSet>(~Majors({0, 1, 2, 3, 4})), kNoLimit,
     {{{kAnyMajor, " SW lower 5.xx (", ") can't be load into R-KVT-MS-2-PLN !"}}}},
};

// Every image a rule does not accept must meet a refusal, or it would be refused in silence.
constexpr bool EveryRefusalHasText() {
  for (const Rule& rule : kRules) {
    MajorSet spoken = 0;
    for (const Refusal& refusal : rule.refusals) spoken |= refusal.majors;
    const MajorSet mayFail = rule.highestNumber == kNoLimit ? MajorSet(~rule.accepted) : kAnyMajor;
    if ((spoken & mayFail) != mayFail) return false;
  }
  return true;
}
static_assert(EveryRefusalHasText());

}  // namespace

CompatibilityResult CheckCompatibility(std::int32_t softwareLevel, const ImageVersion& version) {
  if (!version.found) return {};

  for (const Rule& rule : kRules) {
    if (softwareLevel < rule.firstLevel || softwareLevel > rule.lastLevel) continue;

    const MajorSet major = Majors({version.major & 0x0F});
    if ((rule.accepted & major) && version.Number() <= rule.highestNumber) return {true, {}};
    for (const Refusal& refusal : rule.refusals) {
      if (refusal.majors & major)
        return {false, QLatin1String(refusal.before) + version.text + QLatin1String(refusal.after)};
    }
    return {};  // unreachable: EveryRefusalHasText
  }
  return {true, {}};  // levels without a rule take every image
}

}  // namespace rkvt
