#include "core/devmode/fin_positions.h"

#include "core/devmode/fin_papers.h"
#include "core/devmode/fin_readers.h"
#include "core/devmode/fin_side.h"
#include "core/items/derived_settings.h"

namespace {

// Punch classes by the high digit of the code: bit n allows 0xn1 to 0xn3.
enum : int { kClass0 = 1, kClass1 = 2, kClass2 = 4, kClass3 = 8 };
constexpr int kNone = -1;
constexpr int kMaxVariants = 8;

struct Variant {
  int option;   // a reader; kNone ends the row
  int classes;
};
struct PunchRow {
  int kind;
  int noPunch[2];  // readers of the no-punch options (kNone: none)
  Variant variants[kMaxVariants];  // first installed variant wins
};
const PunchRow kPunchRows[] = {
    {kFinKindA, {kFinFin2000NoPunch, kFinFin3000NoPunch},
     {{kFinFin2000, kClass0}, {kFinFin3000, kClass0}, {kFinFin3000NA2, kClass0}, {kFinFin3000EU2, kClass0},
      {kFinFin2000NA, kClass0 | kClass1}, {kFinFin2000EU, kClass0 | kClass2}, {kFinFin2000NE, kClass3},
      {kFinFin3000NA3, kClass1}}},
    {kFinKindB, {kFinBFIN4NoPunch, kNone},
     {{kFinBFin1Dom, kClass0}, {kFinBFIN4NA2, kClass0 | kClass1}, {kFinBFIN4EU, kClass0 | kClass2},
      {kFinBFIN4NE, kClass3}, {kNone, 0}}},
    {kFinKindE, {kFinEFIN2NoPunch, kNone},
     {{kFinFin50, kClass0}, {kFinEFIN2NA, kClass0 | kClass1}, {kFinEFIN2EU, kClass0 | kClass2},
      {kFinEFIN2NE, kClass3}, {kNone, 0}}},
    {kFinKindG, {kFinGFIN4NoPunch, kNone},
     {{kFinGFin1Dom, kClass0}, {kFinGFIN4NA2, kClass0 | kClass1}, {kFinGFIN4EU, kClass0},
      {kFinGFIN4NE, kClass3}, {kFinFin2Dom, kClass2}, {kNone, 0}}},
    {kFinKindI, {kFinFIN3NoPunch, kNone},
     {{kFinFin100, kClass0}, {kFinFIN3NA, kClass0 | kClass1}, {kFinFIN3EU, kClass0 | kClass2},
      {kFinFIN3NE, kClass3}, {kNone, 0}}},
    {kFinKindJ, {kFinFIN1NoPunch, kNone},
     {{kFinFinMF, kClass0}, {kFinFIN1NA, kClass0 | kClass1}, {kFinFIN1EU, kClass0 | kClass2},
      {kFinFIN1NE, kClass3}, {kNone, 0}}},
    // The second reading of the FIN2 options has no no-punch gate: its no-punch variant allows
    // the four-hole codes.
    {kFinKindK, {kNone, kNone},
     {{kFinKFIN2NA, kClass0}, {kFinKFIN2NE, kClass0}, {kFinKFIN2EU, kClass1},
      {kFinKFIN2NoPunch, kClass2}, {kNone, 0}}},
};

// Staple answers for 0x31/0x32 and 0x44, and the sides of the other codes.
enum SlantRule { kSlantNo, kSlantYes, kSlantTypeC, kSlantTypeG };
enum CenterRule { kCenterNo, kCenterNot13Or5, kCenterBindAndNot13Or5, kCenterNot13 };
struct StapleRow {
  int kind;
  SlantRule slant;
  WORD first[4];   // first-side codes, 0-ended
  WORD second[5];  // second-side codes, 0-ended
  CenterRule center;
  bool orientation0NotB5;  // the orientation-0 path refuses B5 (13)
  WORD only[2];            // the only codes the kind knows (0: any)
};
const StapleRow kStapleRows[] = {
    {kFinKindA, kSlantYes, {0x11, 0x12, 0x21, 0x41}, {0x01, 0x02, 0x22, 0x42, 0x43}, kCenterNo, false, {0, 0}},
    {kFinKindB, kSlantYes, {0x21, 0x41}, {0x22, 0x42, 0x43}, kCenterNot13Or5, false, {0, 0}},
    {kFinKindC, kSlantTypeC, {0}, {0}, kCenterNo, false, {0x31, 0x32}},
    {kFinKindD, kSlantNo, {0x21}, {0x22}, kCenterNo, false, {0x21, 0x22}},
    {kFinKindE, kSlantYes, {0x21, 0x41}, {0x22, 0x42, 0x43}, kCenterNo, false, {0, 0}},
    {kFinKindF, kSlantYes, {0x41}, {0x42, 0x43}, kCenterNo, false, {0, 0}},
    {kFinKindG, kSlantTypeG, {0x21, 0x41}, {0x22, 0x42, 0x43}, kCenterNot13, true, {0, 0}},
    {kFinKindI, kSlantYes, {0x21, 0x41}, {0x22, 0x42, 0x43}, kCenterBindAndNot13Or5, false, {0, 0}},
    {kFinKindJ, kSlantYes, {0x21, 0x41}, {0x22, 0x42, 0x43}, kCenterNot13Or5, false, {0, 0}},
    {kFinKindK, kSlantYes, {0x21, 0x41}, {0x22, 0x42, 0x43}, kCenterBindAndNot13Or5, false, {0, 0}},
};

bool InZeroEnded(const WORD* codes, int max, WORD code) {
  for (int i = 0; i < max && codes[i] != 0; ++i) {
    if (codes[i] == code) return true;
  }
  return false;
}

// What every position rule reads.
struct Inputs {
  SHORT paper;
  bool f0, f1, landscape;
};
Inputs ReadInputs(DriverContext* ctx) {
  Inputs in;
  in.paper = ItemEffectiveOutPaper(ctx);
  WORD flags = FinGetTrayFeedFlags(ctx, in.paper);
  in.f0 = (flags & 1) != 0;
  in.f1 = (flags & 2) != 0;
  in.landscape = FinIsFeedRotated(ctx) != 0;
  return in;
}
bool FirstSide(const Inputs& in) { return (in.f0 && !in.landscape) || (in.f1 && in.landscape); }
bool SecondSide(const Inputs& in) { return (in.f0 && in.landscape) || (in.f1 && !in.landscape); }

int PunchPositionG(DriverContext* ctx, BYTE code, const Inputs& in, bool wide) {
  bool na2 = FinRead(ctx, kFinGFIN4NA2) != 0;
  bool a4OrLetter = in.paper == 9 || in.paper == 1;
  bool L = in.landscape;
  switch (code) {
    case 0x01:
      return (in.f1 && L && (!na2 || a4OrLetter)) || (in.f0 && !L && (!na2 || in.paper != 12));
    case 0x02: case 0x03:
      return (in.f1 && !L && (!na2 || a4OrLetter)) || (in.f0 && L && (!na2 || in.paper != 12));
    case 0x31:
      return FirstSide(in);
    case 0x32: case 0x33:
      return SecondSide(in);
    case 0x11:
      return (in.f1 && L && a4OrLetter) || (in.f0 && !L && wide);
    case 0x12: case 0x13:
      return (in.f1 && !L && a4OrLetter) || (in.f0 && L && wide);
    case 0x21:
      return (in.f1 && L && in.paper == 9) || (in.f0 && !L && in.paper == 8 && wide);
    case 0x22: case 0x23:
      return (in.f1 && !L && in.paper == 9) || (in.f0 && L && in.paper == 8 && wide);
    default:
      return 0;
  }
}

int PunchPosition(int kind, BYTE code, const Inputs& in, bool wide) {
  bool L = in.landscape;
  if (kind == kFinKindK && (code >> 4) == 3) return 0;
  switch (code) {
    case 0x01: case 0x31:
      return FirstSide(in);
    case 0x11: case 0x21:
      return (in.f1 && L) || (in.f0 && !L && wide);
    case 0x02: case 0x03: case 0x32: case 0x33:
      return SecondSide(in);
    case 0x12: case 0x13: case 0x22: case 0x23:
      return (in.f1 && !L) || (in.f0 && L && wide);
    default:
      return 0;
  }
}

bool NotB5OrLegal(SHORT paper) { return paper != 13 && paper != 5; }

int StapleBindFinisher(DriverContext* ctx) {
  if (!FinHasFinisherKind(ctx, kFinKindH)) return 0;
  WORD code = static_cast<WORD>(FinRead(ctx, kFinStapleType));
  bool L = FinIsFeedRotated(ctx) != 0;
  bool a = FinBindFinisherItem(ctx, 787) != 0, b = FinBindFinisherItem(ctx, 788) != 0;
  switch (code) {
    case 0x21: case 0x22:
      return a || b || FinBindFinisherItem(ctx, 789) != 0;
    case 0x41:
      return (a && !L) || (b && L);
    case 0x42: case 0x43:
      return (a && L) || (b && !L);
    case 0x44:
      return FinBindFinisherItem(ctx, 790);
    default:
      return 0;
  }
}

}  // namespace

int FinPunchFeasible(DriverContext* ctx, int kind) {
  const PunchRow* row = nullptr;
  for (const PunchRow& r : kPunchRows) {
    if (r.kind == kind) row = &r;
  }
  if (row == nullptr) return 0;
  for (int gate : row->noPunch) {
    if (gate != kNone && FinRead(ctx, static_cast<FinReader>(gate)) != 0) return 0;
  }
  if (!FinHasFinisherKind(ctx, kind)) return 0;
  Inputs in = ReadInputs(ctx);
  if (!FinPaperInList(ctx, FinAcceptList(kind), in.paper, 1)) return 0;
  if (!in.f0 && !in.f1) return 0;
  BYTE code = static_cast<BYTE>(FinRead(ctx, kFinPunchType));
  int classes = 0;
  for (const Variant& v : row->variants) {
    if (v.option == kNone) break;
    if (FinRead(ctx, static_cast<FinReader>(v.option)) != 0) {
      classes = v.classes;
      break;
    }
  }
  int position = code & 0x0F;
  int punchClass = code >> 4;
  if (position < 1 || position > 3 || (classes & (1 << punchClass)) == 0) return 0;
  bool wide = FinEdgeWideEnough(ctx, kind, in.paper) != 0;
  if (kind == kFinKindG) return PunchPositionG(ctx, code, in, wide) ? 1 : 0;
  return PunchPosition(kind, code, in, wide) ? 1 : 0;
}

int FinStapleFeasible(DriverContext* ctx, int kind) {
  if (kind == kFinKindH) return StapleBindFinisher(ctx);
  const StapleRow* row = nullptr;
  for (const StapleRow& r : kStapleRows) {
    if (r.kind == kind) row = &r;
  }
  if (row == nullptr || !FinHasFinisherKind(ctx, kind)) return 0;
  Inputs in = ReadInputs(ctx);
  if (!FinPaperInList(ctx, FinAcceptList(kind), in.paper, 0)) return 0;
  WORD code = static_cast<WORD>(FinRead(ctx, kFinStapleType));
  if (row->only[0] != 0 && code != row->only[0] && code != row->only[1]) return 0;
  if (!in.f0 && !in.f1) return 0;
  bool L = in.landscape;
  bool f0 = in.f0 && (!row->orientation0NotB5 || in.paper != 13);
  if (code == 0x31 || code == 0x32) {
    switch (row->slant) {
      case kSlantYes: return 1;
      case kSlantTypeC:
        if (code == 0x31) return (in.f0 && in.paper != 13 && !L) || (in.f1 && L) ? 1 : 0;
        return (in.f0 && in.paper != 13 && L) || (in.f1 && !L) ? 1 : 0;
      case kSlantTypeG: return in.f1 || in.paper != 13 ? 1 : 0;
      default: return 0;
    }
  }
  if (code == 0x44) {
    switch (row->center) {
      case kCenterNot13Or5: return in.f0 && NotB5OrLegal(in.paper) ? 1 : 0;
      case kCenterBindAndNot13Or5:
        return FinHasFinisherKind(ctx, kFinKindH) && in.f0 && NotB5OrLegal(in.paper) ? 1 : 0;
      case kCenterNot13: return in.f0 && in.paper != 13 ? 1 : 0;
      default: return 0;
    }
  }
  if (InZeroEnded(row->first, 4, code)) return (f0 && !L) || (in.f1 && L) ? 1 : 0;
  if (InZeroEnded(row->second, 5, code)) return (f0 && L) || (in.f1 && !L) ? 1 : 0;
  return 0;
}

int FinBindFinisherItem(DriverContext* ctx, WORD id) {
  SHORT paper = ItemEffectiveOutPaper(ctx);
  bool a4OrLetter = paper == 9 || paper == 1;
  if (id == 791) {
    return FinPaperInList(ctx, kFinListHAccept, paper, 0) ||
                   (paper == 13 && FinSourceFeeds(ctx, 13, 1))
               ? 1
               : 0;
  }
  if (!FinHasFinisherKind(ctx, kFinKindH)) return 0;
  switch (id) {
    case 787: return FinPaperOneWay(ctx, paper) && FinSourceFeeds(ctx, paper, 0) ? 1 : 0;
    case 788: return (a4OrLetter || paper == 13) && FinSourceFeeds(ctx, paper, 1) ? 1 : 0;
    case 789: return a4OrLetter && FinSourceFeeds(ctx, paper, 0) ? 1 : 0;
    case 790:
      return paper != 5 && (a4OrLetter || FinPaperOneWay(ctx, paper)) && FinSourceFeeds(ctx, paper, 0)
                 ? 1
                 : 0;
    default: return 0;
  }
}
