#include "core/devmode/finishing_conditions.h"

#include "core/devmode/fin_papers.h"
#include "core/devmode/fin_positions.h"
#include "core/devmode/fin_readers.h"
#include "core/devmode/fin_side.h"
#include "core/devmode/fin_sizes.h"
#include "core/devmode/resolution_limit.h"
#include "core/items/derived_settings.h"

namespace {

enum Rule {
  kFeeds0, kFeeds1, kAccepts, kPunch, kStaple, kAcceptsPlus, kWideEdge,
  kBindItem, kWidthAbove, kWidthForPunch, kRotated, kHolds, kSide, kWithinCap, kInsertTray,
  kOutputFit, kSizeClass, kSizeFeedable,
};
struct RuleRow {
  WORD id;
  Rule rule;
  int arg;  // the kind, source code, item id, class or flag the rule takes
};

constexpr WORD kFirstId = 723;
constexpr WORD kLastRuleId = 846;

// One row per condition item with a rule; the ids of the block not listed answer 0.
constexpr RuleRow kRules[] = {
    {723, kFeeds0, kFinKindA}, {724, kFeeds1, kFinKindA}, {725, kAccepts, kFinKindA},
    {726, kPunch, kFinKindA}, {727, kStaple, kFinKindA}, {728, kAcceptsPlus, kFinKindA},
    {729, kWideEdge, kFinKindA},
    {730, kFeeds0, kFinKindB}, {731, kFeeds1, kFinKindB}, {732, kAccepts, kFinKindB},
    {733, kPunch, kFinKindB}, {734, kStaple, kFinKindB}, {735, kAcceptsPlus, kFinKindB},
    {736, kWideEdge, kFinKindB},
    {739, kFeeds0, kFinKindC}, {740, kFeeds1, kFinKindC}, {741, kAccepts, kFinKindC},
    {742, kStaple, kFinKindC},
    {743, kWidthAbove, 1}, {744, kWidthAbove, 0}, {745, kWidthForPunch, 1}, {746, kWidthForPunch, 0},
    {755, kFeeds0, kFinKindD}, {756, kFeeds1, kFinKindD}, {757, kAccepts, kFinKindD},
    {758, kStaple, kFinKindD},
    {759, kFeeds0, kFinKindE}, {760, kFeeds1, kFinKindE}, {761, kAccepts, kFinKindE},
    {762, kPunch, kFinKindE}, {763, kStaple, kFinKindE}, {764, kAcceptsPlus, kFinKindE},
    {765, kWideEdge, kFinKindE},
    {771, kFeeds0, kFinKindF}, {772, kFeeds1, kFinKindF}, {773, kAccepts, kFinKindF},
    {774, kStaple, kFinKindF},
    {775, kFeeds0, kFinKindG}, {776, kFeeds1, kFinKindG}, {777, kAccepts, kFinKindG},
    {778, kPunch, kFinKindG}, {779, kStaple, kFinKindG}, {780, kAcceptsPlus, kFinKindG},
    {781, kWideEdge, kFinKindG},
    {787, kBindItem, 787}, {788, kBindItem, 788}, {789, kBindItem, 789}, {790, kBindItem, 790},
    {791, kBindItem, 791}, {792, kStaple, kFinKindH},
    {795, kFeeds0, kFinKindI}, {796, kFeeds1, kFinKindI}, {797, kAccepts, kFinKindI},
    {798, kPunch, kFinKindI}, {799, kStaple, kFinKindI}, {800, kAcceptsPlus, kFinKindI},
    {801, kWideEdge, kFinKindI},
    {803, kFeeds0, kFinKindJ}, {804, kFeeds1, kFinKindJ}, {805, kAccepts, kFinKindJ},
    {806, kPunch, kFinKindJ}, {807, kStaple, kFinKindJ}, {808, kAcceptsPlus, kFinKindJ},
    {809, kWideEdge, kFinKindJ},
    {811, kFeeds0, kFinKindK}, {812, kFeeds1, kFinKindK}, {813, kAccepts, kFinKindK},
    {814, kPunch, kFinKindK}, {815, kStaple, kFinKindK}, {816, kAcceptsPlus, kFinKindK},
    {817, kWideEdge, kFinKindK},
    {819, kRotated, 0},
    {820, kHolds, 7}, {821, kHolds, 1}, {822, kHolds, 3}, {823, kHolds, 2}, {824, kHolds, 256},
    {825, kHolds, 11}, {826, kHolds, 4},
    {827, kSide, 1}, {828, kSide, 2},
    {829, kHolds, 256}, {830, kHolds, 261}, {832, kHolds, 262}, {833, kHolds, 263},
    {835, kWithinCap, 0},
    {836, kInsertTray, 125}, {837, kInsertTray, 123}, {838, kInsertTray, 127},
    {839, kInsertTray, 1003}, {840, kInsertTray, 408},
    {841, kOutputFit, 0},
    {842, kSizeClass, 1}, {843, kSizeClass, 2}, {844, kSizeClass, 3},
    {845, kSizeFeedable, 1}, {846, kSizeFeedable, 0},
};

// The items each rule's reader may read, for the rule index (FinConditionInputs): ranges of
// item ids grouped by the readers the rules share, and per rule the groups it calls. A
// recording of the items read while every rule runs over many settings stands in the tests
// and fails on a read outside a rule's groups; a wider range costs index entries, never a
// missed judge.
struct IdRange {
  WORD first, last;
};
enum : unsigned {
  kInPaper = 1,         // the effective output paper and its fit (derived settings)
  kInKinds = 2,         // the finisher kinds' option items
  kInSources = 4,       // the paper sources, trays and their feed and size items
  kInRotation = 8,      // the feed direction and the orientation
  kInFinishing = 16,    // the punch, staple and side settings
  kInCustomWidth = 32,  // the custom paper's width and its units
  kInResolution = 64,   // the resolution cap: resolutions, modes and the cap items
  kInInsert = 128,      // the insert trays
  kInSizeClass = 256,   // the size classes and the feedable sizes
};
const IdRange kPaperRanges[] = {{8, 8}, {46, 46}, {55, 55}, {87, 87}, {172, 172},
                                {209, 209}, {242, 242}, {348, 348}, {365, 365}, {383, 383}};
const IdRange kKindRanges[] = {{10049, 10050}, {10058, 10061}, {10074, 10103}};
const IdRange kSourceRanges[] = {{13, 13}, {10018, 10018}, {10021, 10022}, {10143, 10149}, {10168, 10171},
                                 {10175, 10181}, {10200, 10203}, {10239, 10245}, {10264, 10267}};
const IdRange kRotationRanges[] = {{7, 7}, {56, 58}, {92, 94}};
const IdRange kFinishingRanges[] = {{62, 63}, {120, 121}};
const IdRange kCustomWidthRanges[] = {{340, 340}, {1118, 1118}, {1154, 1154}};
const IdRange kResolutionRanges[] = {{7, 8}, {14, 14}, {38, 48}, {55, 56}, {85, 91}, {169, 173},
                                     {227, 227}, {340, 343}, {915, 919}, {10425, 10425}, {10434, 10434}};
const IdRange kInsertRanges[] = {{123, 127}, {408, 408}, {1003, 1003}};
const IdRange kSizeClassRanges[] = {{35, 35}, {64, 66}, {69, 70}, {997, 999}, {1003, 1008}};
struct InputGroup {
  unsigned group;
  const IdRange* ranges;
  int count;
};
#define ZEMS_GROUP(bit, ranges) {bit, ranges, static_cast<int>(sizeof ranges / sizeof ranges[0])}
const InputGroup kInputGroups[] = {
    ZEMS_GROUP(kInPaper, kPaperRanges),           ZEMS_GROUP(kInKinds, kKindRanges),
    ZEMS_GROUP(kInSources, kSourceRanges),        ZEMS_GROUP(kInRotation, kRotationRanges),
    ZEMS_GROUP(kInFinishing, kFinishingRanges),   ZEMS_GROUP(kInCustomWidth, kCustomWidthRanges),
    ZEMS_GROUP(kInResolution, kResolutionRanges), ZEMS_GROUP(kInInsert, kInsertRanges),
    ZEMS_GROUP(kInSizeClass, kSizeClassRanges),
};
#undef ZEMS_GROUP
struct RuleInputs {
  Rule rule;
  unsigned groups;
};
const RuleInputs kRuleInputs[] = {
    {kFeeds0, kInPaper | kInKinds | kInSources},
    {kFeeds1, kInPaper | kInKinds | kInSources},
    {kAccepts, kInPaper},
    {kPunch, kInPaper | kInKinds | kInSources | kInRotation | kInFinishing},
    {kStaple, kInPaper | kInKinds | kInSources | kInRotation | kInFinishing},
    {kAcceptsPlus, kInPaper | kInKinds},
    {kWideEdge, kInPaper},
    {kBindItem, kInPaper | kInKinds | kInSources},
    {kWidthAbove, kInPaper | kInKinds | kInFinishing | kInCustomWidth},
    {kWidthForPunch, kInPaper | kInKinds | kInFinishing | kInCustomWidth},
    {kRotated, kInRotation},
    {kHolds, kInPaper | kInSources},
    {kSide, kInPaper | kInKinds | kInRotation | kInFinishing},
    {kWithinCap, kInResolution},
    {kInsertTray, kInSources | kInInsert},
    {kOutputFit, kInPaper},
    {kSizeClass, kInPaper | kInSizeClass},
    {kSizeFeedable, kInPaper | kInSources | kInRotation | kInInsert | kInSizeClass},
};

// Kinds C, D and F have no extras: their feeds items use the plain list.
bool HasExtras(int kind) { return kind != kFinKindC && kind != kFinKindD && kind != kFinKindF; }

bool Accepts(DriverContext* ctx, int kind, SHORT paper, bool withExtras) {
  return FinPaperInList(ctx, FinAcceptList(kind), paper, withExtras && HasExtras(kind) ? 1 : 0) != 0;
}

int Feeds(DriverContext* ctx, int kind, int orientation) {
  SHORT paper = ItemEffectiveOutPaper(ctx);
  // Kind C's orientation-0 item refuses B5 and the two small model papers before any test.
  if (kind == kFinKindC && orientation == 0 && (paper == 13 || paper == 93 || paper == 7)) return 0;
  if (!FinHasFinisherKind(ctx, kind) || !Accepts(ctx, kind, paper, true)) return 0;
  if (orientation == 1 && FinPaperOneWay(ctx, paper)) return 0;
  return FinSourceFeeds(ctx, paper, orientation);
}

int Apply(DriverContext* ctx, const RuleRow& row) {
  switch (row.rule) {
    case kFeeds0: return Feeds(ctx, row.arg, 0);
    case kFeeds1: return Feeds(ctx, row.arg, 1);
    case kAccepts: return Accepts(ctx, row.arg, ItemEffectiveOutPaper(ctx), false) ? 1 : 0;
    case kAcceptsPlus: return Accepts(ctx, row.arg, ItemEffectiveOutPaper(ctx), true) ? 1 : 0;
    case kWideEdge: return FinEdgeWideEnough(ctx, row.arg, ItemEffectiveOutPaper(ctx));
    case kPunch: return FinPunchFeasible(ctx, row.arg);
    case kStaple: return FinStapleFeasible(ctx, row.arg);
    case kBindItem: return FinBindFinisherItem(ctx, static_cast<WORD>(row.arg));
    case kWidthAbove: return FinCustomWidthAbove(ctx, row.arg, ItemEffectiveOutPaper(ctx));
    case kWidthForPunch: return FinCustomWidthForPunch(ctx, row.arg, ItemEffectiveOutPaper(ctx));
    case kRotated: return FinIsFeedRotated(ctx);
    case kHolds:
      return FinBinHolds(ctx, static_cast<SHORT>(row.arg), ItemEffectiveOutPaper(ctx));
    case kSide: return FinResolveSide(ctx) == row.arg ? 1 : 0;
    case kWithinCap: return FinResolutionOverLimit(ctx, 1) == 0 ? 1 : 0;
    case kInsertTray: return FinInsertTrayMatches(ctx, static_cast<WORD>(row.arg));
    case kOutputFit: return ItemOutputFitApplies(ctx) ? 1 : 0;
    case kSizeClass: return FinSizeClassIs(ctx, static_cast<BYTE>(row.arg));
    case kSizeFeedable: return FinSizeClassFeedable(ctx, row.arg);
  }
  return 0;
}

// The row of a condition item with a rule, or null: judges ask for these items at every
// change that reads them, so the row is found by its id, not by a scan of the table.
const RuleRow* RowOf(WORD id) {
  struct Places {
    BYTE place[kLastRuleId - kFirstId + 1];  // 1 + row index; 0 for no rule
    constexpr Places() : place() {
      for (unsigned i = 0; i < sizeof kRules / sizeof kRules[0]; ++i)
        place[kRules[i].id - kFirstId] = static_cast<BYTE>(i + 1);
    }
  };
  static constexpr Places kPlaces;
  const BYTE place = kPlaces.place[id - kFirstId];
  return place ? &kRules[place - 1] : nullptr;
}

}  // namespace

LONG FinComputeConditionItem(DriverContext* ctx, WORD id) {
  if (ctx == nullptr || static_cast<WORD>(id - kFirstId) > kLastRuleId - kFirstId) return 0;
  const RuleRow* row = RowOf(id);
  return row ? Apply(ctx, *row) : 0;
}

int FinConditionInputs(WORD id, WORD* inputs, int cap) {
  if (!inputs || static_cast<WORD>(id - kFirstId) > kLastRuleId - kFirstId) return 0;
  if (const RuleRow* row = RowOf(id)) {
    unsigned groups = 0;
    for (const RuleInputs& r : kRuleInputs)
      if (r.rule == row->rule) groups = r.groups;
    int n = 0;
    for (const InputGroup& g : kInputGroups) {
      if (!(groups & g.group)) continue;
      for (const IdRange* r = g.ranges; r < g.ranges + g.count; ++r)
        for (DWORD item = r->first; item <= r->last; ++item) {
          if (n == cap) return -1;
          inputs[n++] = static_cast<WORD>(item);
        }
    }
    return n;
  }
  return 0;
}

bool FinConditionPure(WORD id) {
  if (static_cast<WORD>(id - kFirstId) > kLastRuleId - kFirstId) return true;  // answers 0
  const RuleRow* row = RowOf(id);
  return !row || row->rule != kWithinCap;
}
