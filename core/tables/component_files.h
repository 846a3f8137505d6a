// The companion-file table: the files of the driver package that also belong in the System
// directory. Kind 2 rows are copied there when the printer cache is refreshed; every file is
// listed once more with kind 1, which nothing uses.
#pragma once
#include "platform/win32.h"

struct ComponentFileRow {
  DWORD kind;
  const WCHAR* name;
};

constexpr DWORD kComponentCopyToSystem = 2;

// The table, ended by {0, null}.
const ComponentFileRow* TblGetComponentFiles();
