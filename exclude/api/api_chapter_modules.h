// The window-less operations of the colour-profile and chapter modules that the application
// interface calls (no dialogs in zemsexc).
#pragma once
#include "platform/win32.h"

struct ApiContext;

// Loads profile index without dialog binding (an index past the list reads entry 0) and
// copies its name (at most 63 characters and the terminator): 1, or 0 without a context.
int ApiCmmProfileName(ApiContext* api, LONG index, WCHAR* name64);
// Merges an entry text ("%d" or "%d-%d") into the context's chapter array: 0 merged, 1 refused
// (the array restored).
int ApiChapterMerge(ApiContext* api, const WCHAR* entry);
// Deletes one entry: 0 done, 1 refused.
int ApiChapterDeleteOne(ApiContext* api, LONG index);
// Deletes every entry.
void ApiChapterDeleteAll(ApiContext* api);
