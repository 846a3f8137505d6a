// Minimal versions of the one-time corrections until they are built: nothing needs correcting.
#include "core/store/corrections_minimal.h"

int InstCsrCorrectionState(HANDLE, const PRINTER_INFO_2W*, int) { return 0; }
int InstCsrCorrectSettingsIni(HANDLE, const PRINTER_INFO_2W*, int, int) { return 0; }
int InstLocalLowCorrect(HANDLE, const PRINTER_INFO_2W*) { return 1; }
int InstTsCorrectionState(HANDLE, const PRINTER_INFO_2W*) { return 0; }
int InstTsCorrectUserIni(HANDLE, const PRINTER_INFO_2W*) { return 0; }
