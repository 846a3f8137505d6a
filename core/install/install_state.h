// What the install code keeps for a context in its UI state: the user defaults of the printer,
// the marks of the install-ini values taken, the model name and the printer name last stored.
#pragma once
#include "platform/win32.h"

// The user defaults of a printer, from the per-printer defaults ini or the user's locale.
struct InstUserDefaults {
  BYTE userCode;            // user code switch
  BYTE userCodeFix;         // user-code-fixed switch
  WCHAR userCodeText[9];
  WORD displayLanguage;     // language index (zdmLanguageID)
  WORD defaultPaper;        // 1 Letter, 9 A4
  WORD displayUnit;         // 1 inch, 0 metric
  WORD localeGroup;         // 0, 1, 2 or 5
};

// Authentication values set from the install ini (InstAuthSetMask): the pack import keeps them.
enum : BYTE {
  kInstAuthModeSet = 0x01,
  kInstAuthSecureModeSet = 0x02,
  kInstAuthNetworkKeySet = 0x04,
  kInstAuthNetworkKeyEmptied = 0x08,
  kInstAuthUserNameSet = 0x10,
  kInstAuthUserNameEmptied = 0x20,
};

struct InstallState {
  InstUserDefaults defaults;
  BYTE authSetMask;                 // kInstAuth... bits of the last identity pass
  DWORD userCodeHandledAtInstall;   // 1 when the install ini set or cleared the user code
  WCHAR zemsIniPath[260];           // the install ini "ZEMS.ini"
  WCHAR modelName[33];              // the model name of the model data file's "Models" section
  WCHAR storedPrinterName[261];     // "ZEMSPrinterName" as last read
};
