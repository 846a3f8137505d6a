// Build switches and the variants of shared operations. The core declares them; each
// deliverable supplies its own table (ui2k/, gr2k/, exclude/ build_variant.cpp) at link time,
// so one core source serves all three without conditional compilation.
#pragma once
#include "platform/win32.h"

struct DriverContext;

struct BuildVariant {
  const char* deliverable;  // "zemsui", "zemsgr", "zemsexc"
  int featureCount;         // BuildHasFeature(ctx, n) is 1 for 0 <= n < featureCount
  int commonDriver;         // BuildIsCommonDriver
  DWORD featureBits;        // BuildHasFeatureBit(n): bit n
  DWORD featureFlags;       // BuildHasFeatureFlag(index): bit index - 1
  int openHasInstallStep;   // a mode-0 open pushes pending install values (printer interface only)
  // Loads the persisted items at a context open; a slot, so that a DLL can bring its own loader.
  int (*loadAtOpen)(DriverContext* ctx);
  // Caches the language code of the installed help file in a new context's UI state; the
  // exclusion and graphics DLLs always take it from the printer's help file name.
  LPCWSTR (*installedLangCode)(DriverContext* ctx);
  // Settings files (core/store/settings_file): 1 when a refused file is shown to the user
  // (header and locked-settings messages), 0 when the status alone reports it; the step after
  // a plain load, null for the shared fix-ups.
  int settingsFileMessages;
  void (*settingsFilePostLoad)(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial);
};

// The table of the deliverable this core is linked into.
const BuildVariant& BuildGetVariant();

// Features: 0 authentication, 1 print notification, 2 setting locks, 3 printer capability query.
int BuildHasFeature(const DriverContext* ctx, int n);
int BuildIsCommonDriver();
// Feature bit 7: terminal-server client configuration.
int BuildHasFeatureBit(int n);
// Feature flag 1: the preset refresh when a property sheet opens. Valid indexes are 1-8.
int BuildHasFeatureFlag(int index);

