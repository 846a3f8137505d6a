// The header text table: one per process, behind its own lock, shared by escape 122 (which hands
// the printer interface's texts over) and the header entries of kind 13.
#include <string.h>

#include "core/system/resources.h"
#include "gr2k/job_header.h"

namespace {

HelpStringRow g_table[kHelpStringRows + 1] = {
    {731, 15000, {}}, {733, 15001, {}}, {735, 15002, {}}, {0, 0, {}}};
volatile LONG g_lock = 0;

// A spin lock: it needs no set-up, so it works before and after any attach.
struct TableLock {
  TableLock() {
    while (InterlockedCompareExchange(&g_lock, 1, 0) != 0) Sleep(0);
  }
  ~TableLock() { InterlockedExchange(&g_lock, 0); }
};

}  // namespace

void JobTextTableFill(const HelpStringRow* rows, DWORD cbRows) {
  if (!rows) return;
  DWORD whole = cbRows / sizeof(HelpStringRow);
  TableLock lock;
  for (DWORD i = 0; i < whole && g_table[i].marker != 0; ++i) {
    memcpy(g_table[i].text, rows[i].text, sizeof g_table[i].text);
    g_table[i].text[kHelpStringChars - 1] = 0;
  }
}

bool JobTextTableText(DriverContext* ctx, WORD code, WCHAR* text) {
  int row = -1;
  for (int i = 0; i < kHelpStringRows; ++i)
    if (g_table[i].marker == code) row = i;
  if (row < 0) return false;
  // Loaded outside the lock; a string that loads replaces the row's text.
  WCHAR loaded[kHelpStringChars] = {};
  // Codes and string ids never change: only the texts need the lock.
  int n = ResLoadString(ctx, g_table[row].stringId, loaded, kHelpStringChars, FALSE);
  TableLock lock;
  if (n > 0) memcpy(g_table[row].text, loaded, sizeof loaded);
  memcpy(text, g_table[row].text, sizeof g_table[row].text);
  text[kHelpStringChars - 1] = 0;
  return true;
}

void JobTextTableReset() {
  TableLock lock;
  for (int i = 0; i < kHelpStringRows; ++i) memset(g_table[i].text, 0, sizeof g_table[i].text);
}
