// Minimal version until the preset and quality-list stores are built: a printer has no stored
// preset and no quality list, so nothing is applied or saved.
#include "core/store/preset_store.h"

int PresetGetCount(DriverContext*) { return 0; }
void PresetApplySlot(DriverContext*, int) {}
int PresetSlotIsWritable(DriverContext*, int) { return 0; }
void PresetSaveSlotItems(DriverContext*, int) {}

int QualityGetCount(DriverContext*) { return 0; }
void QualityApplySlot(DriverContext*, int) {}
void QualitySaveSlotFile(DriverContext*, int) {}
