// The one-time corrections of stored settings that the pending housekeeping runs first.
// Minimal versions (corrections_minimal.cpp) until the corrections are built: nothing ever
// needs correcting.
#pragma once
#include "platform/win32.h"

// 2 when the settings ini (per-user with perUser) needs the "\\CSR|" scrub, 0 when not, 1 when
// memory runs out or the path cannot be built.
int InstCsrCorrectionState(HANDLE printer, const PRINTER_INFO_2W* info, int perUser);
// Scrubs the settings ini and its preset-quality files; 1 on failure, 0 otherwise.
int InstCsrCorrectSettingsIni(HANDLE printer, const PRINTER_INFO_2W* info, int perUser, int writeMarker);
// The move out of the old low-integrity folder: 1 done or nothing to do, 0 on failure.
int InstLocalLowCorrect(HANDLE printer, const PRINTER_INFO_2W* info);
// The shared-folder correction: state 0 nothing to do, 2 needed, 3 no list, 1 failure; the
// correction answers 0 done, 3 stopped early, 1 failure.
int InstTsCorrectionState(HANDLE printer, const PRINTER_INFO_2W* info);
int InstTsCorrectUserIni(HANDLE printer, const PRINTER_INFO_2W* info);
