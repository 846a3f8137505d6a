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
const RuleRow kRules[] = {
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

}  // namespace

LONG FinComputeConditionItem(DriverContext* ctx, WORD id) {
  if (ctx == nullptr || static_cast<WORD>(id - kFirstId) > kLastRuleId - kFirstId) return 0;
  for (const RuleRow& row : kRules) {
    if (row.id == id) return Apply(ctx, row);
  }
  return 0;
}
