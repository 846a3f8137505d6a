#include "core/devmode/fin_side.h"

#include "core/devmode/fin_papers.h"
#include "core/devmode/fin_readers.h"
#include "core/items/derived_settings.h"

namespace {

// Staple answers: a side, or a fixed answer.
enum SideAnswer { kZero = 0, kOne = 1, kFree = 3, kFirst = 10, kSecond = 11 };
constexpr int kNone = -1;

// Kinds in the order the resolver tries them, with the no-punch options that it tests (kNone:
// the kind takes no punch step) and the answers for the staple codes 0x31, 0x32, 0x21, 0x22,
// 0x41, 0x42 and 0x43, 0x44. The resolver gates kind K by the FIN3 no-punch option.
struct SideRow {
  int kind;
  bool withExtras;
  int noPunch[2];
  SideAnswer staple[7];
};
const SideRow kSideRows[] = {
    {kFinKindA, true, {kFinFin2000NoPunch, kFinFin3000NoPunch}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kZero}},
    {kFinKindD, false, {kNone, kNone}, {kZero, kZero, kFirst, kSecond, kZero, kZero, kZero}},
    {kFinKindH, false, {kNone, kNone}, {kZero, kZero, kFree, kFree, kFirst, kSecond, kOne}},
    {kFinKindC, false, {kNone, kNone}, {kFirst, kSecond, kZero, kZero, kZero, kZero, kZero}},
    {kFinKindF, false, {kNone, kNone}, {kFree, kFree, kZero, kZero, kFirst, kSecond, kZero}},
    {kFinKindJ, true, {kFinFIN1NoPunch, kNone}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kOne}},
    {kFinKindK, true, {kFinFIN3NoPunch, kNone}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kOne}},
    {kFinKindE, true, {kFinEFIN2NoPunch, kNone}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kZero}},
    {kFinKindI, true, {kFinFIN3NoPunch, kNone}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kOne}},
    {kFinKindG, true, {kFinGFIN4NoPunch, kNone}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kOne}},
    {kFinKindB, true, {kFinBFIN4NoPunch, kNone}, {kFree, kFree, kFirst, kSecond, kFirst, kSecond, kOne}},
};

int StapleColumn(WORD code) {
  switch (code) {
    case 0x31: return 0;
    case 0x32: return 1;
    case 0x21: return 2;
    case 0x22: return 3;
    case 0x41: return 4;
    case 0x42: case 0x43: return 5;
    case 0x44: return 6;
    default: return kNone;
  }
}

int PunchSide(int kind, BYTE code) {
  if (kind == kFinKindI && code == 0x42) return kOne;
  if (kind == kFinKindK && (code >> 4) == 3) return kNone;
  switch (code) {
    case 0x01: case 0x11: case 0x21: case 0x31: return kFirst;
    case 0x02: case 0x03: case 0x12: case 0x13: case 0x22: case 0x23: case 0x32: case 0x33:
      return kSecond;
    default: return kNone;
  }
}

int Resolve(int answer, bool rotated) {
  if (answer == kFirst) return rotated ? 2 : 1;
  if (answer == kSecond) return rotated ? 1 : 2;
  return answer;
}

}  // namespace

int FinIsFeedRotated(DriverContext* ctx) {
  const LONG portrait = 1;
  LONG orientation = FinRead(ctx, kFinOrientation);
  WORD nup = static_cast<WORD>(FinRead(ctx, kFinNupType));
  WORD duplex = static_cast<WORD>(FinRead(ctx, kFinDuplexType));
  // The N-up layouts up to 18 and the booklet layouts (duplex types above 16) turn the page.
  bool turned = (FinRead(ctx, kFinFuncSelectNup) == 1 && nup >= 1 && nup <= 18) ||
                (FinRead(ctx, kFinFuncSelectDuplex) == 1 && duplex > 16);
  if (turned) return orientation == portrait ? 1 : 0;
  return orientation != portrait ? 1 : 0;
}

int FinResolveSide(DriverContext* ctx) {
  const SideRow* row = nullptr;
  for (const SideRow& r : kSideRows) {
    if (FinHasFinisherKind(ctx, r.kind)) {
      row = &r;
      break;
    }
  }
  if (row == nullptr) return 0;
  if (!FinPaperInList(ctx, FinAcceptList(row->kind), ItemEffectiveOutPaper(ctx), row->withExtras ? 1 : 0)) {
    return 0;
  }
  bool rotated = FinIsFeedRotated(ctx) != 0;
  if (row->noPunch[0] != kNone && FinRead(ctx, kFinFuncSelectPunch) == 1) {
    bool noPunch = false;
    for (int gate : row->noPunch) {
      if (gate != kNone && FinRead(ctx, static_cast<FinReader>(gate)) != 0) noPunch = true;
    }
    if (!noPunch) {
      int side = PunchSide(row->kind, static_cast<BYTE>(FinRead(ctx, kFinPunchType)));
      if (side != kNone) return Resolve(side, rotated);
    }
  }
  if (FinRead(ctx, kFinFuncSelectStaple) != 1) return kFree;
  int column = StapleColumn(static_cast<WORD>(FinRead(ctx, kFinStapleType)));
  return column == kNone ? 0 : Resolve(row->staple[column], rotated);
}
