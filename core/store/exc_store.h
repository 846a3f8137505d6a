// Store operations of the exclusion DLL's application interface: the persisted work items and
// the user's preset list checked without asking anyone.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Saves the persisted work-area items (class 3) that the UI modules select: the chapter
// module's items 996-1009. 1 when every value was written, 0 otherwise or without a context.
int ApiSavePersisted(DriverContext* ctx);

// The preset list rebuilt against the printer's default pack (DefaultRst of the printer's
// section, "NumDeficonfiles" and its Deficonfiles<n> in the display language's section), never
// asking: an "rsr" entry matching a pack file stays when its conditions and the tint-block
// rule pass; an entry with another extension stays when a trial load of it (the settings put
// back afterwards) succeeds without an alert on zdmPresetNo, or fails only for a passing
// reason (a sharing or lock violation, no memory); entries without an extension stay. The kept
// entries are written over the old ones with "Count" last, the preset cache is freed and the
// pack's new files are imported. Returns the preset count after the rebuild, or -1 when the
// pack (or memory) cannot be had: the list is then untouched.
int PruneUserSettingList(DriverContext* ctx);
