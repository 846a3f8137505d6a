// DevQueryPrintEx: the spooler asks whether a job's DEVMODE can print. Every job whose DEVMODE
// merges into a driver context is accepted; on the way the job's paper is matched against the
// form database and the matched form written back into the job's DEVMODE.
#include <stddef.h>
#include <string.h>

#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_merge.h"
#include "core/install/corrections.h"
#include "core/install/pending_housekeeping.h"
#include "core/system/printer_names.h"
#include "ui2k/sheet_forms.h"
#include "platform/win32.h"

namespace {

constexpr DWORD kOpenJobCheck = 0x80000000;
constexpr DWORD kMergeJobCheck = 0x8000008;
constexpr LONG kSizeTolerance = 1000;  // thousandths of a millimetre

// The job DEVMODE's public fields up to and including dmFormName: what the match reads and
// writes. A shorter DEVMODE is left to the merge alone.
constexpr DWORD kFormFieldsEnd = offsetof(DEVMODEW, dmFormName) + sizeof(((DEVMODEW*)nullptr)->dmFormName);

LONG Distance(LONG a, LONG b) { return a > b ? a - b : b - a; }

void TakeForm(const FORM_INFO_1W* forms, DWORD index, DEVMODEW* dm, SheetFormMatch* match) {
  const FORM_INFO_1W& form = forms[index];
  match->form = form;
  memset(match->name, 0, sizeof match->name);
  if (form.pName) StrCopyCut(match->name, kFormMatchNameChars, form.pName);
  dm->dmPaperWidth = static_cast<short>(form.Size.cx / 100);
  dm->dmPaperLength = static_cast<short>(form.Size.cy / 100);
  dm->dmPaperSize = static_cast<short>(index + 1);
  dm->dmFields |= DM_FORMNAME;
  memset(dm->dmFormName, 0, sizeof dm->dmFormName);
  StrCopyCut(dm->dmFormName, CCHFORMNAME, match->name);
}

}  // namespace

FORM_INFO_1W* SheetEnumForms(HANDLE printer, DWORD* count) {
  if (count) *count = 0;
  DWORD needed = 0, returned = 0;
  if (EnumFormsW(printer, 1, nullptr, 0, &needed, &returned) || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
      !needed)
    return nullptr;
  FORM_INFO_1W* forms = static_cast<FORM_INFO_1W*>(GlobalAlloc(GPTR, needed));
  if (!forms) return nullptr;
  if (!EnumFormsW(printer, 1, reinterpret_cast<LPBYTE>(forms), needed, &needed, &returned)) {
    GlobalFree(forms);
    return nullptr;
  }
  if (count) *count = returned;
  return forms;
}

int SheetMatchJobForm(HANDLE printer, DEVMODEW* dm, SheetFormMatch* match) {
  memset(match, 0, sizeof *match);
  match->form.pName = match->name;
  if (!dm || dm->dmSize < kFormFieldsEnd) return kFormNoMatch;
  DWORD count = 0;
  FORM_INFO_1W* forms = SheetEnumForms(printer, &count);
  int answer = kFormNoMatch;
  if (forms && count) {
    long found = -1;
    const DWORD fields = dm->dmFields;
    if ((fields & DM_PAPERLENGTH) && (fields & DM_PAPERWIDTH) && dm->dmPaperLength > 0 && dm->dmPaperWidth > 0) {
      const LONG cx = LONG(dm->dmPaperWidth) * 100, cy = LONG(dm->dmPaperLength) * 100;
      for (DWORD i = 0; i < count && found < 0; ++i)
        if (Distance(forms[i].Size.cx, cx) <= kSizeTolerance && Distance(forms[i].Size.cy, cy) <= kSizeTolerance)
          found = long(i);
      if (found < 0) {
        match->form.Flags = 0;
        match->form.Size.cx = cx;
        match->form.Size.cy = cy;
        match->form.ImageableArea = {0, 0, cx, cy};
        answer = kFormCustomSize;
      }
    } else if ((fields & DM_PAPERSIZE) && dm->dmPaperSize >= 1 && DWORD(dm->dmPaperSize) <= count) {
      found = dm->dmPaperSize - 1;
    } else if (fields & DM_FORMNAME) {
      WCHAR wanted[CCHFORMNAME + 1] = {};
      memcpy(wanted, dm->dmFormName, sizeof dm->dmFormName);
      for (DWORD i = 0; i < count && found < 0; ++i)
        if (forms[i].pName && StrWideEqual(forms[i].pName, wanted)) found = long(i);
    }
    if (found >= 0) {
      TakeForm(forms, DWORD(found), dm, match);
      answer = kFormMatched;
    }
  }
  match->form.pName = match->name;
  if (forms) GlobalFree(forms);
  return answer;
}

ZEMS_EXPORT BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO query) {
  if (!query) return FALSE;
  if (!query->pDevMode) return TRUE;
  HANDLE printer = query->hPrinter;
  const int dsMissing = InstDsPrinterNameMissing(printer);
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  DRIVER_INFO_3W* driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer, 3));
  BOOL answer = TRUE;
  if (InstRunPendingHousekeeping(printer, 1, info, driver) == 1) {
    DriverContext* ctx = CtxOpenByKind(printer, printer, nullptr, kOpenJobCheck);
    if (!ctx || !DmMergeIntoContext(ctx, query->pDevMode, kMergeJobCheck)) {
      answer = FALSE;
    } else {
      // The match's verdict refuses no job: a form the model lacks still prints.
      SheetFormMatch* match = static_cast<SheetFormMatch*>(MemAllocZero(sizeof(SheetFormMatch)));
      if (match) SheetMatchJobForm(printer, query->pDevMode, match);
      MemFree(match);
    }
    CtxClose(ctx);
  }
  if (dsMissing == 1) InstCleanupStaleForPrinter(printer, info);
  MemFree(info);
  MemFree(driver);
  return answer;
}
