// The choice control types: list boxes, combos, owner-drawn lists and combos with pictures, the
// check-box list and the preset icon list; and the two structural types, tab controls and the
// tree of all pages and controls. A choice's entries are the values of the control's model
// description that are not disabled, in list order; each entry's item data is its value id,
// which is also the string id of its text.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/control_types.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// Extension of the owner-drawn combos and lists with pictures (kind kCtlExtPicture), 20 bytes.
// A nonzero restrictedInfo makes choosing a restricted value show the control's information
// string instead of applying it; restrictedPicture is drawn in front of a restricted entry. The
// line count and list belong to the settings summary's edits.
struct CtlExtPicture {
  WORD kind;  // kCtlExtPicture
  WORD reserved;
  DWORD restrictedInfo;
  DWORD restrictedPicture;
  WORD lineCount;
  WORD reserved2;
  const void* lines;
};
static_assert(sizeof(void*) != 4 || sizeof(CtlExtPicture) == 20, "CtlExtPicture is 20 bytes");

// Extension of a tab control (kind kCtlExtTabs): one entry per tab, in tab order.
struct CtlTab {
  WORD textId;        // string id of the tab's caption
  WORD controlCount;
  const WORD* controls;  // ids of the controls shown on that tab
};
struct CtlExtTabs {
  WORD kind;  // kCtlExtTabs
  WORD count;
  const CtlTab* tabs;
};
static_assert(sizeof(void*) != 4 || (sizeof(CtlTab) == 8 && sizeof(CtlExtTabs) == 8), "tab records");

// One line of the settings summary (the summary edits' line list), 6 bytes: the label's string
// id, a condition symbol (0 none) and a value symbol (0 none). The line shows the value
// symbol's text while there is no condition or the condition's item is 1, else the
// condition's own text; a line without a value symbol shows the condition's text.
struct SummaryLine {
  WORD label;
  WORD condition;
  WORD value;
};
static_assert(sizeof(SummaryLine) == 6, "SummaryLine is 6 bytes");
// The summary's lines in order, shared by both summary edits.
extern const SummaryLine kSummaryLines[];
extern const WORD kSummaryLineCount;

// The records the list types' rows name (control_types.cpp, indexes 30-49).
extern const CtlExtPicture kListExtRestrictedChoice;  // 2009, 2023, 2032: flag 1, picture 7005
extern const CtlExtPicture kListExtStatusSummary;     // 2148
extern const CtlExtPicture kListExtSettingsSummary;   // 2248
extern const WORD kListExtHiddenFunctions[];          // 2817: item ids, one per entry

// The item ids of a check-box list's entries (its extension, a plain array without a kind
// word) and how many there are; null with *count 0 for a control whose extension is no known
// item list.
const WORD* CtlCheckListItems(const DlgControlRecord* control, int* count);

// Pictures of the check-box list's entries.
enum : WORD {
  kPictureCheckOff = 7001,
  kPictureCheckOffGrey = 7002,
  kPictureCheckOn = 7003,
  kPictureCheckOnGrey = 7004,
};
// The module event sent when a combo took a value that changed its item ({control record}).
constexpr int kEventComboTaken = 67;

// ---- what the list types share ----
constexpr int kCtlTextChars = 1025;
constexpr int kCtlMaxEntries = 512;
// The control's window: the bound one, else the page's control of its id.
HWND CtlChoiceWindow(DlgPageRecord* page, DlgControlRecord* control);
// The control's selected entry (-1 for none or no window), its window written to *window.
int CtlChoiceSelected(DlgPageRecord* page, DlgControlRecord* control, HWND* window);
// The control's entries (values of its description that are not disabled, in list order), at
// most capacity of them; their number.
int CtlChoiceEntries(DriverContext* ctx, const DlgControlRecord* control, WORD* values, int capacity);

// ---- list boxes (42, 47, 49) ----
void CtlFillListBox(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlFillOwnerListBox(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                         DlgControlRecord* control);
void CtlShowListBoxValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeListBoxValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                        LPARAM lParam);
int CtlDrawListItem(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                    LPARAM lParam);
int CtlDrawListItemAlt(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam);

// ---- combos (43, 48) ----
void CtlFillCombo(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowComboValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowOwnerComboValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeComboValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam);
int CtlDrawComboItem(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam);

// ---- the preset icon list (50) ----
void CtlFillIconList(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeIconListValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                         LPARAM lParam);
int CtlDrawIconListItem(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam);

// ---- tabs (104) and the tree (105) ----
void CtlFillTabControl(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                       DlgControlRecord* control);
// Shows the controls of one tab and hides those of the others.
void CtlShowTabGroup(DlgPageRecord* page, DlgControlRecord* control, int tab);
int CtlTabMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                  LPARAM lParam);
void CtlFillTreeView(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// A message handler that takes nothing (answers 0).
int CtlIgnoreMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam);
