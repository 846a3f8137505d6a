// Lookups of the print-macro table.
#include "core/tables/print_macros.h"

const PrintMacroResolution* TblFindPrintMacro(WORD macro) {
  if (macro == 0) return nullptr;
  for (const PrintMacroResolution* row = TblGetPrintMacroResolutions(); row->macro; ++row)
    if (row->macro == macro) return row;
  return nullptr;
}

WORD TblPrintMacroByDpi(WORD xDpi, WORD yDpi) {
  if (xDpi == 0 || yDpi == 0) return 0;
  for (const PrintMacroResolution* row = TblGetPrintMacroResolutions(); row->macro; ++row)
    if (row->xDpi == xDpi && row->yDpi == yDpi) return row->macro;
  return 0;
}

WORD TblPrintMacroByXDpi(WORD xDpi) {
  for (const PrintMacroResolution* row = TblGetPrintMacroResolutions(); row->macro; ++row)
    if (row->xDpi == xDpi) return row->macro;
  return 0;
}

WORD TblNextPrintMacroByXDpi(WORD xDpi, WORD macro) {
  const PrintMacroResolution* row = TblFindPrintMacro(macro);
  if (!row) return 0;
  for (++row; row->macro; ++row)
    if (row->xDpi == xDpi) return row->macro;
  return 0;
}
