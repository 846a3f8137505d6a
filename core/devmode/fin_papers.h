// The finishers' fixed paper lists and the matching of a paper source code to the tray items
// that say which paper each tray holds, in which feed orientation, and whether it is locked.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// The paper lists, numbered as the rules name them.
enum FinPaperList : int {
  kFinListAAccept = 1, kFinListANarrow, kFinListDAccept, kFinListHAccept, kFinListCAccept,
  kFinListFAccept, kFinListJAccept, kFinListJNarrow, kFinListKAccept, kFinListKNarrow,
  kFinListEAccept, kFinListENarrow, kFinListIAccept, kFinListINarrow, kFinListGAccept,
  kFinListGNarrow, kFinListBAccept, kFinListBNarrow, kFinListOneWay, kFinListCount = kFinListOneWay
};

constexpr SHORT kFinSourceAuto = 7;
constexpr SHORT kFinSourceTray1 = 1;
constexpr SHORT kFinSourceBypass = 4;

// 1 when the paper is in the list, or, with withExtras, one of the list's kind's extra papers.
int FinPaperInList(DriverContext* ctx, int list, SHORT paper, int withExtras);
// The acceptance list of a finisher kind; 0 for none.
int FinAcceptList(int kind);
// 1 unless the paper is in the kind's narrow-edge list (a kind without one: 1).
int FinEdgeWideEnough(DriverContext* ctx, int kind, SHORT paper);
int FinPaperOneWay(DriverContext* ctx, SHORT paper);

int FinBinFeeds(DriverContext* ctx, SHORT source, SHORT paper, int orientation);
// FinBinFeeds on the source of dmDefaultSource; the main form takes an automatic source as
// tray 1.
int FinSourceFeeds(DriverContext* ctx, SHORT paper, int orientation);
int FinMainSourceFeeds(DriverContext* ctx, SHORT paper, int orientation);
// Bit 0: a tray of the dmDefaultSource source holds the paper in orientation 0; bit 1: in 1.
WORD FinGetTrayFeedFlags(DriverContext* ctx, SHORT paper);
int FinBinHolds(DriverContext* ctx, SHORT source, SHORT paper);
// Stores the tray's paper and orientation and returns the orientation; a code without tray
// items stores nothing and returns the code (the bypass code with neither bypass option: 0).
LONG FinGetTrayItems(DriverContext* ctx, SHORT source, SHORT* paper, LONG* orientation);
// 1 when the document's own source (automatic taken as tray 1) holds the paper of the insert
// tray that the item names, in that tray's orientation.
int FinInsertTrayMatches(DriverContext* ctx, WORD insertTrayItem);
