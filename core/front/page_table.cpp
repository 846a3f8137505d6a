// The static page table: one row per property page or dialog of the printer interface, in
// dialog-table order, with the page symbols 284-362 in row order. Every driver context copies
// it (and each page's control array) when it is made.
//
// The control arrays are slices of one array made from the control rows
// (core/front/control_rows.inc), which list the pages' controls in page-table order.
#include "core/front/dialog_records.h"

#include "core/front/control_types.h"
#include "core/front/dialog_engine.h"

namespace {

// The control symbols as constants, so that a row naming a symbol that does not exist fails to
// build.
enum ControlSymbolId : WORD {
#define SYMBOL(sym, name)
#define ITEM_SYMBOL(sym, item, name)
#define CONTROL_SYMBOL(sym, item, name) kSym_##name = sym,
#include "core/tables/symbols_ui.inc"
#undef CONTROL_SYMBOL
#undef ITEM_SYMBOL
#undef SYMBOL
};

struct ControlRow {
  WORD page;
  WORD extension;  // index of kControlExtensions, given to the record when the table is built
  DlgControlRecord control;
};

ControlRow g_controlRows[] = {
#define ROW(page, id, symbol, type, help, hint, info, partner, notify, ext)                                    \
  {page, ext,                                                                                                  \
   {kSym_##symbol, id, type, 0, help, hint, info, partner, 0, notify, nullptr, nullptr, nullptr, nullptr, 0, 0, \
    0, nullptr, 0, 0, 0}},
#include "core/front/control_rows.inc"
#undef ROW
};
constexpr int kControlRowCount = static_cast<int>(sizeof(g_controlRows) / sizeof(g_controlRows[0]));
static_assert(kControlRowCount == 1397, "the dialog tables have 1,397 control rows");

// The control records, in row order; each page points at its slice.
DlgControlRecord g_controls[kControlRowCount];

// dialog id, symbol, kind, -, name, help id, controls, -, control count, window, modal
DlgPageRecord g_pages[] = {
    {1001, 284, 0x0001, 0, "TOV_IDD_PRESET", 20101, nullptr, 0, 0, nullptr, 0},
    {1002, 285, 0x0011, 0, "TOV_IDD_BASIC", 22001, nullptr, 0, 0, nullptr, 0},
    {1003, 286, 0x0011, 0, "TOV_IDD_EDIT", 22301, nullptr, 0, 0, nullptr, 0},
    {1004, 287, 0x0011, 0, "TOV_IDD_FINISH", 22701, nullptr, 0, 0, nullptr, 0},
    {1005, 288, 0x0011, 0, "TOV_IDD_OTHERS", 22801, nullptr, 0, 0, nullptr, 0},
    {1006, 289, 0x0001, 0, "TOV_IDD_PRINTQUALITY", 21401, nullptr, 0, 0, nullptr, 0},
    {1010, 290, 0x0005, 0, "TOV_IDD_DIALOG_INIT", 20301, nullptr, 0, 0, nullptr, 0},
    {1011, 291, 0x0006, 0, "TOV_IDD_DIALOG_OPTION", 21001, nullptr, 0, 0, nullptr, 0},
    {1009, 292, 0x0002, 0, "TOV_IDD_TTF", 23201, nullptr, 0, 0, nullptr, 0},
    {1008, 293, 0x0002, 0, "TOV_IDD_USER_CODE", 23301, nullptr, 0, 0, nullptr, 0},
    {1015, 294, 0x0006, 0, "TOV_IDD_DIALOG_PRINTPOST", 20801, nullptr, 0, 0, nullptr, 0},
    {1007, 295, 0x0004, 0, "TOV_IDD_MAINTENANCE", 20201, nullptr, 0, 0, nullptr, 0},
    {1012, 296, 0x0004, 0, "TOV_IDD_DIALOG_ROTATION", 20401, nullptr, 0, 0, nullptr, 0},
    {1013, 297, 0x0004, 0, "TOV_IDD_DIALOG_UNIT", 20501, nullptr, 0, 0, nullptr, 0},
    {1014, 298, 0x0004, 0, "TOV_IDD_DIALOG_SORT", 20601, nullptr, 0, 0, nullptr, 0},
    {1016, 299, 0x0004, 0, "TOV_IDD_DIALOG_ACTION", 20701, nullptr, 0, 0, nullptr, 0},
    {1017, 300, 0x0004, 0, "TOV_IDD_DIALOG_FREESIZE", 20901, nullptr, 0, 0, nullptr, 0},
    {1018, 301, 0x0004, 0, "TOV_IDD_DIALOG_SCALE", 21101, nullptr, 0, 0, nullptr, 0},
    {1019, 302, 0x0004, 0, "TOV_IDD_DIALOG_PRINTTYPE", 21201, nullptr, 0, 0, nullptr, 0},
    {1020, 303, 0x0004, 0, "TOV_IDD_DIALOG_STATUS", 0, nullptr, 0, 0, nullptr, 0},
    {1021, 304, 0x0020, 0, "TOV_IDD_DIALOG_USER_PQC", 21601, nullptr, 0, 0, nullptr, 0},
    {1038, 305, 0x0020, 0, "TOV_IDD_DIALOG_USER_BALANCE", 23601, nullptr, 0, 0, nullptr, 0},
    {4004, 306, 0x0004, 0, "TOV_IDD_DIALOG_USER_TTF", 21402, nullptr, 0, 0, nullptr, 0},
    {1029, 307, 0x0020, 0, "TOV_IDD_DIALOG_USER_OTHERS", 21801, nullptr, 0, 0, nullptr, 0},
    {1022, 308, 0x0004, 0, "TOV_IDD_DIALOG_STAMP_CHAR", 22401, nullptr, 0, 0, nullptr, 0},
    {1023, 309, 0x0004, 0, "TOV_IDD_DIALOG_STAMP_IMAGE", 22501, nullptr, 0, 0, nullptr, 0},
    {1024, 310, 0x0004, 0, "TOV_IDD_DIALOG_MARGIN", 22601, nullptr, 0, 0, nullptr, 0},
    {1030, 311, 0x0004, 0, "TOV_IDD_DIALOG_COVER", 22101, nullptr, 0, 0, nullptr, 0},
    {1031, 312, 0x0004, 0, "TOV_IDD_DIALOG_MARK", 22201, nullptr, 0, 0, nullptr, 0},
    {1034, 313, 0x0004, 0, "TOV_IDD_DIALOG_REMOTE", 23001, nullptr, 0, 0, nullptr, 0},
    {1041, 314, 0x0004, 0, "TOV_IDD_DIALOG_FREESIZE_INPUT", 23901, nullptr, 0, 0, nullptr, 0},
    {1035, 315, 0x0004, 0, "TOV_IDD_DIALOG_ADDRESS", 23101, nullptr, 0, 0, nullptr, 0},
    {1036, 316, 0x0004, 0, "TOV_IDD_DIALOG_ICM", 0, nullptr, 0, 0, nullptr, 0},
    {1037, 317, 0x0004, 0, "TOV_IDD_DIALOG_OVERLAY", 23501, nullptr, 0, 0, nullptr, 0},
    {1039, 318, 0x0004, 0, "TOV_IDD_DIALOG_INPUT_HFSTRING", 0, nullptr, 0, 0, nullptr, 0},
    {1040, 319, 0x0004, 0, "TOV_IDD_DIALOG_COMMAND", 23701, nullptr, 0, 0, nullptr, 0},
    {1042, 320, 0x0004, 0, "TOV_IDD_CVRMARK", 0, nullptr, 0, 0, nullptr, 0},
    {1043, 321, 0x0004, 0, "TOV_IDD_DIALOG_BACKCOVER", 0, nullptr, 0, 0, nullptr, 0},
    {1044, 322, 0x0004, 0, "TOV_IDD_DIALOG_CHAPTER", 0, nullptr, 0, 0, nullptr, 0},
    {4014, 323, 0x0004, 0, "TOV_IDD_DIALOG_REVERSECOVER", 0, nullptr, 0, 0, nullptr, 0},
    {4015, 324, 0x8000, 0, "TOV_IDD_DIALOG_CREATE_MIDFILES", 0, nullptr, 0, 0, nullptr, 0},
    {4016, 325, 0x0004, 0, "TOV_IDD_MASTERPRINT", 0, nullptr, 0, 0, nullptr, 0},
    {4017, 326, 0x0004, 0, "TOV_IDD_DIALOG_ILLEGALCOPY_PROTECT", 0, nullptr, 0, 0, nullptr, 0},
    {4018, 327, 0x0004, 0, "TOV_IDD_DIALOG_PAPER_POS", 0, nullptr, 0, 0, nullptr, 0},
    {4019, 328, 0x0004, 0, "TOV_IDD_ADVANCED", 0, nullptr, 0, 0, nullptr, 0},
    {4020, 329, 0x0004, 0, "TOV_IDD_DIALOG_ATPASSWORD_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {4021, 330, 0x0004, 0, "TOV_IDD_DIALOG_NETWORK_KEY_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {4022, 331, 0x0004, 0, "TOV_IDD_DIALOG_AUTHENTICATION", 0, nullptr, 0, 0, nullptr, 0},
    {4023, 332, 0x0004, 0, "TOV_IDD_UTILITY", 0, nullptr, 0, 0, nullptr, 0},
    {4024, 333, 0x0004, 0, "TOV_IDD_DIALOG_DENSITY", 0, nullptr, 0, 0, nullptr, 0},
    {4025, 334, 0x0004, 0, "TOV_IDD_DIALOG_IMAGEOVERLAY", 0, nullptr, 0, 0, nullptr, 0},
    {4026, 335, 0x0004, 0, "TOV_IDD_DIALOG_ROTATION2", 0, nullptr, 0, 0, nullptr, 0},
    {4027, 336, 0x0004, 0, "TOV_IDD_DIALOG_VERSION2", 0, nullptr, 0, 0, nullptr, 0},
    {4028, 337, 0x0004, 0, "TOV_IDD_DIALOG_ROTATION3", 0, nullptr, 0, 0, nullptr, 0},
    {4029, 338, 0x0004, 0, "TOV_IDD_DIALOG_DISKLIMIT", 0, nullptr, 0, 0, nullptr, 0},
    {4030, 339, 0x0004, 0, "TOV_IDD_MASTERPRINT2", 0, nullptr, 0, 0, nullptr, 0},
    {4031, 340, 0x0004, 0, "TOV_IDD_DIALOG_LIMITATION", 0, nullptr, 0, 0, nullptr, 0},
    {4032, 341, 0x0004, 0, "TOV_IDD_DIALOG_LIMITATION_STATUS", 0, nullptr, 0, 0, nullptr, 0},
    {4033, 342, 0x0004, 0, "TOV_IDD_DIALOG_EXTENSIONS", 0, nullptr, 0, 0, nullptr, 0},
    {4034, 343, 0x0004, 0, "TOV_IDD_DIALOG_FOLDING", 0, nullptr, 0, 0, nullptr, 0},
    {1065, 344, 0x0004, 0, "TOV_IDD_DIALOG_HIDDEN_FUNC", 0, nullptr, 0, 0, nullptr, 0},
    {1032, 345, 0x0004, 0, "TOV_IDD_DIALOG_SAVE_PRESET", 21301, nullptr, 0, 0, nullptr, 0},
    {1033, 346, 0x0004, 0, "TOV_IDD_DIALOG_SAVE_USER", 21901, nullptr, 0, 0, nullptr, 0},
    {1025, 347, 0x0004, 0, "TOV_IDD_DIALOG_VERSION", 0, nullptr, 0, 0, nullptr, 0},
    {1026, 348, 0x0004, 0, "TOV_IDD_DIALOG_USERCODE_CHANGE", 0, nullptr, 0, 0, nullptr, 0},
    {1027, 349, 0x0004, 0, "TOV_IDD_DIALOG_USERCODE_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {1028, 350, 0x0004, 0, "TOV_IDD_DIALOG_USERCODE_CONFIRMATION", 0, nullptr, 0, 0, nullptr, 0},
    {4005, 351, 0x0004, 0, "TOV_IDD_DIALOG_PASSWORD_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {4006, 352, 0x0004, 0, "TOV_IDD_DLG_STATUS", 0, nullptr, 0, 0, nullptr, 0},
    {4001, 353, 0x0100, 0, "TOV_FILEOPEN", 0, nullptr, 0, 0, nullptr, 0},
    {4002, 354, 0x0200, 0, "TOV_RSTOPENSAVE", 0, nullptr, 0, 0, nullptr, 0},
    {4003, 355, 0x0400, 0, "TOV_FILEREFER", 0, nullptr, 0, 0, nullptr, 0},
    {4007, 356, 0x0800, 0, "TOV_ZVLSAVE", 0, nullptr, 0, 0, nullptr, 0},
    {4008, 357, 0x1000, 0, "TOV_ZVLREFER", 0, nullptr, 0, 0, nullptr, 0},
    {4009, 358, 0x2000, 0, "TOV_FILESAVE", 0, nullptr, 0, 0, nullptr, 0},
    {4010, 359, 0x0004, 0, "TOV_IDD_DIALOG_USER_ICMMODE", 0, nullptr, 0, 0, nullptr, 0},
    {4011, 360, 0x0004, 0, "TOV_IDD_CMMADDPROFILE", 0, nullptr, 0, 0, nullptr, 0},
    {4012, 361, 0x0004, 0, "TOV_IDD_CMMMODPROFILE", 0, nullptr, 0, 0, nullptr, 0},
    {4013, 362, 0x0004, 0, "TOV_IDD_DIALOG_ORIENTATION", 20302, nullptr, 0, 0, nullptr, 0},
};

static_assert(sizeof(g_pages) / sizeof(g_pages[0]) == 79, "the page table has 79 rows");

DlgPageTable g_pageTable = {79, g_pages};

// The length controls: edits of a length in display units and their spin buttons (flag
// kCtlDisplayLength) of the detailed page, the custom-size dialogs and the margin dialog. The
// header-and-footer font size 2649 of dialog 1024 is a size in points, not a length.
struct LengthControl {
  WORD page;
  WORD control;
};
const LengthControl kLengthControls[] = {
    {1003, 2470}, {1003, 2602}, {1003, 2468}, {1003, 2469},
    {1017, 2220}, {1017, 2221}, {1017, 2224}, {1017, 2225}, {1017, 2392}, {1017, 2393},
    {1017, 2400}, {1017, 2401}, {1017, 2394}, {1017, 2395}, {1017, 2398}, {1017, 2399},
    {1024, 2396}, {1024, 2397}, {1024, 2605}, {1024, 2606}, {1024, 2352}, {1024, 2353},
    {1024, 2355}, {1024, 2356}, {1024, 3188}, {1024, 3192},
    {1041, 2682}, {1041, 2685}, {1041, 2683}, {1041, 2686}, {1041, 2684}, {1041, 2687},
    {1041, 2689}, {1041, 2692}, {1041, 2690}, {1041, 2693}, {1041, 2691}, {1041, 2694},
};

bool IsLengthControl(WORD page, WORD control) {
  for (const LengthControl& row : kLengthControls)
    if (row.page == page && row.control == control) return true;
  return false;
}

// Gives every page the slice of rows that carry its dialog id. The rows stand page by page in
// table order; a row out of that order is left out rather than given to a wrong page.
DlgPageTable* BuildPageTable() {
  int row = 0;
  for (DlgPageRecord& page : g_pages) {
    page.controls = row < kControlRowCount ? &g_controls[row] : nullptr;
    page.controlCount = 0;
    while (row < kControlRowCount && g_controlRows[row].page == page.dialogId) {
      g_controls[row] = g_controlRows[row].control;
      g_controls[row].extension = const_cast<CtlExtRecord*>(CtlExtensionAt(g_controlRows[row].extension));
      if (IsLengthControl(page.dialogId, g_controls[row].controlId)) g_controls[row].flags |= kCtlDisplayLength;
      ++page.controlCount;
      ++row;
    }
    if (page.controlCount == 0) page.controls = nullptr;
  }
  return &g_pageTable;
}

}  // namespace

const DlgPageTable* TblGetPageTable() {
  static DlgPageTable* table = BuildPageTable();
  return table;
}

