// The sheets' runner, and the spooler's form database as the sheets and the job check see it.
#pragma once
#include "platform/win32.h"

// A matched form: its row, then room for its name, which pName points at.
constexpr int kFormMatchNameChars = 64;
struct SheetFormMatch {
  FORM_INFO_1W form;
  WCHAR name[kFormMatchNameChars];  // always terminated; a longer name is cut
};

// Answers of SheetMatchJobForm.
enum : int {
  kFormMatched = 0,
  kFormCustomSize = 1,  // a custom size that no form of the database has
  kFormNoMatch = 2,
};

// The form database (EnumFormsW level 1) in one GlobalAlloc block (GlobalFree it) with the
// row count in *count; null when it cannot be read.
FORM_INFO_1W* SheetEnumForms(HANDLE printer, DWORD* count);
// Matches the job's paper against the form database: by custom size (within 1 mm), by index
// (dmPaperSize as the 1-based form number) or by form name. A match rewrites the job DEVMODE's
// paper size, length, width and form name (at most 31 characters) and fills match.
int SheetMatchJobForm(HANDLE printer, DEVMODEW* dm, SheetFormMatch* match);

