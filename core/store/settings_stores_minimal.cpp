// Minimal versions until the custom-size, watermark, quality-list, module and preset-file
// stores are built: nothing is stored or loaded, the modules answer 1, and no quality file is
// repaired. The watermark count answers 256 (the scratch slot): until watermarks are stored, a
// load keeps every watermark id it reads.
#include "core/store/settings_stores.h"

void FreeSizeSaveSlot(DriverContext*, int) {}
void FreeSizeLoadSourceSlot(DriverContext*, int) {}
void FreeSizeSaveFromSource(DriverContext*, int) {}

int StampGetCount(DriverContext*) { return 256; }
void StampSave(DriverContext*, int) {}
void StampSelect(DriverContext*, int) {}

void QualitySaveSlot(DriverContext*, int) {}
void QualityApplySlot(DriverContext*, int) {}

int StoreLoadModuleItems(DriverContext*) { return 1; }

void InstSetLocaleDefaults(DriverContext*) {}

int QualityRsqPath(WCHAR*, DWORD, LPCWSTR, DriverContext*) { return 0; }
int PresetCopyFile(LPCWSTR, LPCWSTR, DWORD, DriverContext*) { return 0; }
