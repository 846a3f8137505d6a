// Minimal version until the field merge is built: a caller's public fields do not count yet;
// the context keeps its own.
#include "core/devmode/field_merge.h"

void DmMergePublicFields(void*, const void*, DriverContext*) {}
void DmMergeResolutionPair(void*, const void*, DriverContext*) {}
void DmApplyPublicFieldsToItems(void*, const void*, DriverContext*) {}
