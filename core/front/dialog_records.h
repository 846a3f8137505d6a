// Page and control records of the dialog tables. Every driver context holds its own copy of
// the page table with each page's control array; the dialog engine writes only the run-time
// fields of that copy.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct SettingItem;
struct ModelItemDescriptor;

// One described control of a page (56 bytes).
struct DlgControlRecord {
  WORD symbolId;       // names the setting item the control shows, through the symbol table
  WORD controlId;      // id in the dialog template; for a choice control also its value
  WORD type;           // control type code
  WORD aliasId;        // 0 in the tables; the control id once bound
  WORD helpId;
  WORD hintString;
  WORD infoString;
  WORD partner;        // control id of a partner control, 0 = none
  WORD reserved1;
  WORD notifyCode;     // change notification code, 0 = none
  const ModelItemDescriptor* descriptor;  // filled when the page is bound
  SettingItem* item;                      // filled when the page is bound
  void* savedWindowProc;
  void* extension;
  DWORD flags;         // refresh classes and behaviour switches
  WORD state;          // bits 0-1 disabled state, bits 2-3 restricted state
  WORD reserved2;
  HWND window;         // set while the page's dialog exists
  DWORD lockState;
  WORD lockMessage;    // nonzero marks a lockable control
  WORD guardItem;      // item whose nonzero value locks a lockable control
};

// One page or dialog (32 bytes).
struct DlgPageRecord {
  WORD dialogId;       // resource id of the template; the page's key
  WORD symbolId;
  WORD kind;           // kind flags (DlgPageKind)
  WORD reserved1;
  const char* name;    // "TOV_IDD_..."
  DWORD helpId;        // 0 = none
  DlgControlRecord* controls;
  WORD reserved2;
  WORD controlCount;
  HWND window;         // the page's window while it is open
  DWORD modal;         // nonzero while shown as a modal dialog box
};

// The page table a context holds: a count and the rows.
struct DlgPageTable {
  SHORT count;
  DlgPageRecord* rows;
};

enum DlgPageKind : WORD {
  kPageDocumentSheet = 0x0001,
  kPagePrinterSheet = 0x0002,
  kPageModal = 0x0004,
  kPagePresetEdit = 0x0010,
  kPageQualitySet = 0x0020,
};

// Bits of DlgControlRecord::state.
enum : WORD {
  kControlDisabledMask = 0x0003,
  kControlRestrictedMask = 0x000C,
};

static_assert(sizeof(DlgControlRecord) == 56, "DlgControlRecord is 56 bytes");
static_assert(offsetof(DlgControlRecord, descriptor) == 20 && offsetof(DlgControlRecord, item) == 24,
              "control links");
static_assert(offsetof(DlgControlRecord, flags) == 36 && offsetof(DlgControlRecord, state) == 40,
              "control flags and state");
static_assert(offsetof(DlgControlRecord, window) == 44 && offsetof(DlgControlRecord, guardItem) == 54,
              "control window and guard item");
static_assert(sizeof(DlgPageRecord) == 32, "DlgPageRecord is 32 bytes");
static_assert(offsetof(DlgPageRecord, name) == 8 && offsetof(DlgPageRecord, controls) == 16 &&
                  offsetof(DlgPageRecord, controlCount) == 22 && offsetof(DlgPageRecord, window) == 24 &&
                  offsetof(DlgPageRecord, modal) == 28,
              "page record offsets");

// The static page table that every context copies (79 rows, in dialog-table order).
const DlgPageTable* TblGetPageTable();

