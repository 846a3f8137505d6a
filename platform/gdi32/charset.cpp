// Character sets and the code pages they stand for.
#include <stdint.h>
#include <string.h>

#include "platform/win32.h"

namespace {

struct CharsetRow {
  UINT codePage;
  UINT charset;
  DWORD codePageBit;  // fsCsb[0]
};

const CharsetRow kCharsets[] = {
    {1252, ANSI_CHARSET, 0x00000001},         {1250, EASTEUROPE_CHARSET, 0x00000002},
    {1251, RUSSIAN_CHARSET, 0x00000004},      {1253, GREEK_CHARSET, 0x00000008},
    {1254, TURKISH_CHARSET, 0x00000010},      {1255, HEBREW_CHARSET, 0x00000020},
    {1256, ARABIC_CHARSET, 0x00000040},       {1257, BALTIC_CHARSET, 0x00000080},
    {1258, VIETNAMESE_CHARSET, 0x00000100},   {874, THAI_CHARSET, 0x00010000},
    {932, SHIFTJIS_CHARSET, 0x00020000},      {936, GB2312_CHARSET, 0x00040000},
    {949, HANGEUL_CHARSET, 0x00080000},       {950, CHINESEBIG5_CHARSET, 0x00100000},
    {1361, JOHAB_CHARSET, 0x00200000},
};

}  // namespace

WINSIM_API BOOL WINAPI TranslateCharsetInfo(DWORD* source, LPCHARSETINFO info, DWORD flags) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD key = DWORD(uintptr_t(source));
  for (const CharsetRow& row : kCharsets) {
    bool match = false;
    switch (flags) {
      case TCI_SRCCODEPAGE:
        match = row.codePage == key;
        break;
      case TCI_SRCCHARSET:
        match = row.charset == key;
        break;
      case TCI_SRCFONTSIG:
        match = source && (source[0] & row.codePageBit);
        break;
      default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (match) {
      memset(info, 0, sizeof(*info));
      info->ciCharset = row.charset;
      info->ciACP = row.codePage;
      info->fs.fsCsb[0] = row.codePageBit;
      return TRUE;
    }
  }
  return FALSE;
}
