#include "core/devmode/fin_papers.h"

#include "core/devmode/fin_readers.h"

namespace {

// Each list ends with 0, so a paper of code 0 is in none.
const SHORT kList1[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList2[] = {9, 11, 13, 5, 1, 6, 514, 513, 14, 7, 93, 0};
const SHORT kList3[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList4[] = {8, 9, 12, 1, 5, 3, 14, 0};
const SHORT kList5[] = {8, 9, 12, 13, 1, 5, 3, 14, 517, 93, 7, 0};
const SHORT kList6[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 517, 93, 7, 512, 0};
const SHORT kList7[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList8[] = {9, 11, 13, 5, 1, 6, 514, 513, 14, 7, 93, 0};
const SHORT kList9[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList10[] = {9, 11, 13, 5, 1, 6, 514, 513, 14, 7, 93, 0};
const SHORT kList11[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList12[] = {9, 11, 13, 5, 1, 6, 514, 513, 14, 7, 93, 0};
const SHORT kList13[] = {8, 9, 12, 13, 1, 5, 3, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList14[] = {9, 11, 13, 5, 1, 6, 514, 513, 14, 7, 93, 0};
const SHORT kList15[] = {8, 9, 12, 13, 1, 5, 3, 0};
const SHORT kList16[] = {9, 12, 13, 1, 5, 514, 513, 14, 7, 517, 93, 0};
const SHORT kList17[] = {8, 9, 12, 13, 1, 5, 3, 512, 5, 514, 513, 14, 7, 0};
const SHORT kList18[] = {9, 11, 13, 5, 1, 6, 514, 513, 14, 7, 0};
const SHORT kList19[] = {8, 12, 5, 3, 514, 513, 14, 517, 512, 0};

// List number -> codes, the kind whose extras it takes (-1 none).
struct ListRow {
  const SHORT* codes;
  int extrasKind;
};
const ListRow kLists[kFinListCount + 1] = {
    {nullptr, -1},
    {kList1, kFinKindA},  {kList2, -1},  {kList3, -1},  {kList4, -1},  {kList5, -1},
    {kList6, -1},         {kList7, kFinKindJ},  {kList8, -1},  {kList9, kFinKindK},
    {kList10, -1},        {kList11, kFinKindE}, {kList12, -1}, {kList13, kFinKindI},
    {kList14, -1},        {kList15, kFinKindG}, {kList16, -1}, {kList17, kFinKindB},
    {kList18, -1},        {kList19, -1},
};

// Kind -> acceptance list, narrow-edge list (0 none).
struct KindLists {
  int accept, narrow;
};
const KindLists kKindLists[kFinKindCount] = {
    /* A */ {kFinListAAccept, kFinListANarrow},
    /* B */ {kFinListBAccept, kFinListBNarrow},
    /* C */ {kFinListCAccept, 0},
    /* D */ {kFinListDAccept, 0},
    /* E */ {kFinListEAccept, kFinListENarrow},
    /* F */ {kFinListFAccept, 0},
    /* G */ {kFinListGAccept, kFinListGNarrow},
    /* H */ {kFinListHAccept, 0},
    /* I */ {kFinListIAccept, kFinListINarrow},
    /* J */ {kFinListJAccept, kFinListJNarrow},
    /* K */ {kFinListKAccept, kFinListKNarrow},
};

const FinReader kFin2000Family[] = {kFinFin2000, kFinFin2000NA, kFinFin2000EU, kFinFin2000NE,
                                    kFinFin2000NoPunch};

bool InCodes(const SHORT* codes, SHORT paper) {
  for (; *codes != 0; ++codes) {
    if (*codes == paper) return true;
  }
  return false;
}

bool IsExtra(DriverContext* ctx, int kind, SHORT paper) {
  switch (kind) {
    case kFinKindA:
      if (paper == 11) return true;
      if (paper != 6) return false;
      for (FinReader option : kFin2000Family) {
        if (FinRead(ctx, option) != 0) return true;
      }
      return false;
    case kFinKindB:
      return paper == 11 || paper == 6;
    case kFinKindE:
    case kFinKindI:
    case kFinKindJ:
    case kFinKindK:
      return paper == 11 || (paper == 6 && FinHasFinisherKind(ctx, kind));
    case kFinKindG:
      return paper == 6 && FinHasFinisherKind(ctx, kind);
    default:
      return false;
  }
}

// The tray rows of the source codes. Tray 5 and the large-capacity tray read the same items
// through readers of their own. A row with a condition takes part in the automatic scan only
// when its option is on; the extension tray is known to FinGetTrayItems alone.
constexpr int kNoReader = -1;
struct TrayRow {
  SHORT code;
  int paper, orientation, lock, condition;
  bool inScan;
};
const TrayRow kTrays[] = {
    {1, kFinTray1Paper, kFinTray1Orient, kFinTray1Lock, kNoReader, true},
    {3, kFinTray2Paper, kFinTray2Orient, kFinTray2Lock, kNoReader, true},
    {2, kFinTray3Paper, kFinTray3Orient, kFinTray3Lock, kNoReader, true},
    {256, kFinTray4Paper, kFinTray4Orient, kFinTray4Lock, kNoReader, true},
    {261, kFinPaper26Tray5, kFinOrient25Tray5, kFinLock25Tray5, kNoReader, true},
    {262, kFinTray6Paper, kFinTray6Orient, kFinTray6Lock, kNoReader, true},
    {263, kFinTray7Paper, kFinTray7Orient, kFinTray7Lock, kNoReader, true},
    {11, kFinPaper26Large, kFinOrient25Large, kFinLock25Large, kFinSourceOptLarge, true},
    {4, kFinPaper29, kFinOrient28, kFinLock28, kFinSourceOptMulti, true},
    {4, kFinPaper28, kFinOrient27, kFinLock27, kFinSourceOptManual, true},
    {286, kFinPaper30, kFinOrient29, kNoReader, kNoReader, false},
};
const TrayRow& kMultiRow = kTrays[8];
const TrayRow& kManualRow = kTrays[9];

LONG Read(DriverContext* ctx, int reader) {
  return reader == kNoReader ? 0 : FinRead(ctx, static_cast<FinReader>(reader));
}

// The one tray of a source code: the bypass code takes the manual feed when its option is on,
// else the multi-purpose tray when that option is on. Null for the automatic code and codes
// without trays.
const TrayRow* TrayOf(DriverContext* ctx, SHORT source) {
  if (source == kFinSourceBypass) {
    if (Read(ctx, kManualRow.condition) != 0) return &kManualRow;
    if (Read(ctx, kMultiRow.condition) != 0) return &kMultiRow;
    return nullptr;
  }
  for (const TrayRow& row : kTrays) {
    if (row.code == source) return &row;
  }
  return nullptr;
}

bool TakesPart(DriverContext* ctx, const TrayRow& row) {
  if (!row.inScan || Read(ctx, row.lock) != 0) return false;
  return row.condition == kNoReader || Read(ctx, row.condition) != 0;
}

bool Holds(DriverContext* ctx, const TrayRow& row, SHORT paper) {
  return static_cast<LONG>(static_cast<WORD>(Read(ctx, row.paper))) == paper;
}

WORD FlagsOf(DriverContext* ctx, const TrayRow& row, SHORT paper) {
  if (!Holds(ctx, row, paper)) return 0;
  return Read(ctx, row.orientation) == 0 ? 1 : 2;
}

template <typename Fn>
bool ScanAny(DriverContext* ctx, Fn match) {
  for (const TrayRow& row : kTrays) {
    if (TakesPart(ctx, row) && match(row)) return true;
  }
  return false;
}

SHORT SelectedSource(DriverContext* ctx) { return static_cast<SHORT>(FinRead(ctx, kFinDefaultSource)); }

}  // namespace

int FinPaperInList(DriverContext* ctx, int list, SHORT paper, int withExtras) {
  if (list < 1 || list > kFinListCount) return 0;
  if (InCodes(kLists[list].codes, paper)) return 1;
  return withExtras != 0 && kLists[list].extrasKind >= 0 && IsExtra(ctx, kLists[list].extrasKind, paper)
             ? 1
             : 0;
}

int FinAcceptList(int kind) {
  return kind >= 0 && kind < kFinKindCount ? kKindLists[kind].accept : 0;
}

int FinEdgeWideEnough(DriverContext* ctx, int kind, SHORT paper) {
  if (kind < 0 || kind >= kFinKindCount || kKindLists[kind].narrow == 0) return 1;
  return FinPaperInList(ctx, kKindLists[kind].narrow, paper, 0) ? 0 : 1;
}

int FinPaperOneWay(DriverContext* ctx, SHORT paper) {
  return FinPaperInList(ctx, kFinListOneWay, paper, 0);
}

int FinBinFeeds(DriverContext* ctx, SHORT source, SHORT paper, int orientation) {
  auto feeds = [&](const TrayRow& row) {
    return Read(ctx, row.orientation) == orientation && Holds(ctx, row, paper);
  };
  if (source == kFinSourceAuto) return ScanAny(ctx, feeds) ? 1 : 0;
  const TrayRow* row = TrayOf(ctx, source);
  return row != nullptr && row->inScan && feeds(*row) ? 1 : 0;
}

int FinSourceFeeds(DriverContext* ctx, SHORT paper, int orientation) {
  return FinBinFeeds(ctx, SelectedSource(ctx), paper, orientation);
}

int FinMainSourceFeeds(DriverContext* ctx, SHORT paper, int orientation) {
  SHORT source = SelectedSource(ctx);
  return FinBinFeeds(ctx, source == kFinSourceAuto ? kFinSourceTray1 : source, paper, orientation);
}

WORD FinGetTrayFeedFlags(DriverContext* ctx, SHORT paper) {
  SHORT source = SelectedSource(ctx);
  if (source == kFinSourceAuto) {
    WORD flags = 0;
    for (const TrayRow& row : kTrays) {
      if (TakesPart(ctx, row)) flags |= FlagsOf(ctx, row, paper);
    }
    return flags;
  }
  const TrayRow* row = TrayOf(ctx, source);
  return row != nullptr && row->inScan ? FlagsOf(ctx, *row, paper) : 0;
}

int FinBinHolds(DriverContext* ctx, SHORT source, SHORT paper) {
  auto holds = [&](const TrayRow& row) { return Holds(ctx, row, paper); };
  if (source == kFinSourceAuto) return ScanAny(ctx, holds) ? 1 : 0;
  const TrayRow* row = TrayOf(ctx, source);
  return row != nullptr && row->inScan && holds(*row) ? 1 : 0;
}

LONG FinGetTrayItems(DriverContext* ctx, SHORT source, SHORT* paper, LONG* orientation) {
  const TrayRow* row = TrayOf(ctx, source);
  if (row == nullptr) return source == kFinSourceBypass ? 0 : source;
  LONG orient = Read(ctx, row->orientation);
  if (paper != nullptr) *paper = static_cast<SHORT>(Read(ctx, row->paper));
  if (orientation != nullptr) *orientation = orient;
  return orient;
}

int FinInsertTrayMatches(DriverContext* ctx, WORD insertTrayItem) {
  LONG source;
  switch (insertTrayItem) {
    case 125: source = FinRead(ctx, kFinCoverInputTray); break;
    case 123: source = FinRead(ctx, kFinMPInputTray); break;
    default: source = FinReadItem(ctx, insertTrayItem); break;
  }
  // A source code without tray items leaves nothing to compare: the answer is 0 rather than a
  // comparison with values the tray never gave.
  if (TrayOf(ctx, static_cast<SHORT>(source)) == nullptr) return 0;
  SHORT paper = -1;
  LONG orientation = -1;
  FinGetTrayItems(ctx, static_cast<SHORT>(source), &paper, &orientation);
  return FinMainSourceFeeds(ctx, paper, orientation);
}
