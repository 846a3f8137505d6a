// The exclusion DLL's build switches and variants of shared operations.
#include "core/system/languages.h"
#include "core/devmode/dm_layout.h"
#include "core/tables/build_switches.h"
#include "core/store/item_store.h"
#include "core/store/settings_file.h"

const BuildVariant& BuildGetVariant() {
  static const BuildVariant variant = {
      "zemsexc",
      6,        // features 0-5
      1,        // common driver
      1u << 7,  // terminal-server client configuration
      1u << 0,  // flag 1: preset refresh at sheet open
      0,        // no install step at open
      StoreLoadAtOpen,
      ResGetInstalledLangCodeFromHelpFile,
      nullptr,  // no dialog engine: an action on wdmBuiltInFunc sets the item
      1,        // the value checks accept the application codes 179 = 160, 134 = 255
      0, 0, 0, 0,  // the shared paper forms
      1,           // paper fields in portrait order
      1, 0,        // user macros 32-39 only; the name is loaded
      kDmStepRetestCompanions | kDmStepLockDataNot9x | kDmStepResetWorkItems | kDmStepKeepLockedDefaults,
      0,        // settings files report by status alone
      StoreSettingsFileFixUpsNoJobControl,  // no job control after a plain load
      1,        // user presets applied plainly, a failed load left to the status
      1,        // section names keep double-byte characters whole on Windows 9x
      1,        // custom media strings complete to the media's names
      0,        // custom-size slots get the default names
  };
  return variant;
}

