// Minimal version until the quality lists are built: the list's name is not loaded.
#include "core/store/quality_lists.h"

void QualityLoadName(DriverContext*, LPCWSTR) {}
