// Symbols of the model language and the message table. Item symbols are "TOV_" + the item's
// name and come from the item catalogue; dialog, control and other symbols have rows of their
// own (symbols_ui.inc). Lookups always use the static tables, never a context's copy.
#pragma once

#include "platform/win32.h"

struct DriverContext;

struct SymbolEntry {
  WORD itemId;    // 0 for symbols that are no item
  WORD symbolId;  // 0 marks an unnamed item's row, which no lookup returns
  const char* name;
};

struct MessageEntry {
  WORD messageId;
  WORD stringId;         // text of the message in the language resource DLL
  WORD captionStringId;  // caption of the message box, 0 = none
  WORD reserved;
  const char* name;
  DWORD reserved2;
};

// Item symbols are 1000 + the item's row index; dialogs, controls and the other symbols lie
// outside that range (symbols_ui.inc). Never renumbered.
constexpr WORD kItemSymbolBase = 1000;

// Symbol table row count and row access (index 0 .. count-1), for scans and tests.
int TblSymbolCount();
const SymbolEntry* TblSymbolAt(int index);
// The first row with this symbol id, or null (also for 0).
const SymbolEntry* TblFindSymbol(WORD symbolId);
// The row with this narrow name (exact, case-sensitive), or null.
const SymbolEntry* TblFindSymbolByName(const char* name);

// Message table (ctx may be null: the static table is used in every case).
int TblMessageCount(DriverContext* ctx);
const MessageEntry* TblMessageAt(DriverContext* ctx, int index);
const MessageEntry* TblFindMessage(DriverContext* ctx, WORD messageId);
const MessageEntry* TblFindMessageByName(DriverContext* ctx, const char* name);
