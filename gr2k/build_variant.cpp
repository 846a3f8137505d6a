// The graphics DLL's build switches and variants of shared operations.
#include "core/system/languages.h"
#include "core/devmode/dm_layout.h"
#include "core/tables/build_switches.h"
#include "core/store/item_store.h"
#include "core/store/settings_file.h"

const BuildVariant& BuildGetVariant() {
  static const BuildVariant variant = {
      "zemsgr",
      6,        // features 0-5
      1,        // common driver
      1u << 7,  // terminal-server client configuration
      1u << 0,  // flag 1: preset refresh at sheet open
      0,        // no install step at open
      StoreLoadAtOpenNoWriteBack,
      ResGetInstalledLangCodeFromHelpFile,
      nullptr,  // no dialog engine: an action on wdmBuiltInFunc sets the item
      0,        // value checks as the model describes
      1, 1, 1, 1,  // custom papers swapped in every call, output copy first, slot orientation,
                   // explicit sizes kept in the merge
      0,           // paper fields follow the orientation
      0, 1,        // user macro 160 too; the quality list's name is never loaded
      kDmStepEnvCompanions,  // no option block, companion tests or job-control fetch in the merge
      0,        // settings files report by status alone
      StoreSettingsFileFixUpsGraphics,  // no job-control exchange after a plain load, adjust mode kept
      0,        // the shared preset application
      0,        // the shared section-name rule
      0,        // custom media strings stay as loaded
      1,        // a custom-size slot keeps its name in all three fields
  };
  return variant;
}

