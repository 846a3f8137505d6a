// The plug-in registry: plug-ins of other parties, each in a category and known by a string
// id, registered in HKLM and in a "ZEMSPLUG.ini" of the driver folder. Both are read into one
// list that the caller walks and frees.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct DriverContext;

// One plug-in; the strings are heap copies and may be null.
struct PluginRecord {
  char* id;
  char* name;
  char* installPath;
  DWORD forceRaw;
  DWORD perPrinter;
};
static_assert(sizeof(void*) != 4 || sizeof(PluginRecord) == 20, "record of 20 bytes");

// The list: registry entries first (in the registry's subkey order), then the ini entries.
struct PluginList {
  DWORD count;
  PluginRecord** records;
};

// A {count, strings} list: the id lists of a read and the graphics DLL's filter chain.
struct PluginStringList {
  DWORD count;
  char** strings;
};

// The plug-ins of the category from HKLM and from folder\ZEMSPLUG.ini; null when neither has
// an entry or memory runs out. Free with PluginFreeList.
PluginList* PluginReadRegistry(const char* category, const char* folder);
// Frees every string, record, the array and the list; null is allowed. Returns 1.
int PluginFreeList(PluginList* list);
// Frees every string, the array and the list; null is allowed. Returns 1.
int PluginFreeStringList(PluginStringList* list);
// folder + "\" + the section's "InstallPath" of the ini file, as a heap copy; null when the
// key is empty or longer than 250 characters, or memory runs out.
char* PluginInstallPath(const char* iniFile, const char* section, const char* folder);
// No UI-control plug-in is loaded by this driver: nobody is asked and nothing changes.
void PluginProbeUiControls(DriverContext* ctx);
