// The printer install pass: brings one printer's persisted state in line with the installed
// driver (settings folder, identity values, per-printer defaults, default packs, model
// database), and the two passes that run on the same occasions: the pass for a printer whose
// name changed and the PrinterInformation synchronisation.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Pass kinds.
enum : int {
  kInstPassDefaultDevmode = 0,  // first driver default DEVMODE of a printer; DEVMODE returned
  kInstPassInitialize = 1,      // printer initialize event; reinstall found by the conversion
  kInstPassConnection = 2,      // a client's connection to a shared printer
  kInstPassFullDefaults = 3,    // all items from the model defaults; DEVMODE returned
  kInstPassFullDefaultsMode1 = 4,
  kInstPassIniWork = 5,         // conversion while the install ini has work (item store loaded)
  kInstPassUpgrade = 6,         // connection pass of the settings-version upgrade
  kInstPassHousekeeping = 7,    // connection pass of the pending housekeeping
};

// Runs the install pass of this kind for the printer. The pass takes no mutex of its own: its
// callers hold it where needed. Kinds 0, 3, 4 (and 5) fill out (when given, 1236 bytes) with
// the context's DEVMODE after the environment flags were reset; other kinds never touch it.
// 1, or 0 when the driver context cannot be opened (nothing is written then) or when a save of
// the printer's settings failed (the rest is still written; the caller stamps nothing).
int InstRunPrinterPass(HANDLE printer, DEVMODEW* out, int kind, const PRINTER_INFO_2W* info,
                       const DRIVER_INFO_3W* driverInfo);

// When "ZEMSPrinterName" of printer data is missing or differs from the printer's name: carries
// the printer's job-merge keys, bidirectional section, driver pack lists, custom sizes and
// watermarks and per-printer defaults over to the new name. 1 when the change was handled, 0
// otherwise (also for a printer reached through a server or a remote-configuration client).
int InstHandleRenamedPrinter(DriverContext* ctx);

// Refreshes the factory sections of the printer's per-machine settings ini from the model
// data file: with flag 1 only the settings version (and nothing at all once the model data
// file records "BatchInstallDone" when no context is given), else the factory watermarks,
// custom sizes and language keys; then "ORVELINFO" of "PrinterInformation" and the custom sizes
// of the driver's pack. Without a context one is opened for the call. 1; 0 when no context can
// be had. Under the global mutex.
int InstSyncPrinterInformation(HANDLE printer, const PRINTER_INFO_2W* info, int flag, DriverContext* ctx,
                               const PRINTER_INFO_2W* info2, const DRIVER_INFO_3W* driverInfo);
// The same into a settings ini the caller names (the per-user one of the settings-version
// upgrade). 1; 0 without a context or a path.
int InstSyncPrinterInformationInto(const WCHAR* settingsIni, int flag, DriverContext* ctx,
                                   const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo);
