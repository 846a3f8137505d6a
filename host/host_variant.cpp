// The host's build switches, for the contexts "zemshost model caps" and "model set" open: those
// of the graphics DLL, whose open only reads the printer's settings and writes nothing back, and
// which has no dialog engine (a model action on wdmBuiltInFunc sets the item).
#include "core/system/languages.h"
#include "core/devmode/dm_layout.h"
#include "core/tables/build_switches.h"
#include "core/store/item_store.h"

const BuildVariant& BuildGetVariant() {
  static const BuildVariant variant = {
      "zemshost",
      6,        // features 0-5
      1,        // common driver
      1u << 7,  // terminal-server client configuration
      1u << 0,  // flag 1: preset refresh at sheet open
      0,        // no install step at open
      StoreLoadAtOpenNoWriteBack,
      ResGetInstalledLangCodeFromHelpFile,
      nullptr,  // no dialog engine
      0,        // value checks as the model describes
      0, 0, 0, 0, 0, 0, 0,  // the shared paper, merge and user-macro forms
      kDmStepEnvCompanions,
      0,        // settings files report by status alone
      nullptr,  // the shared settings-file fix-ups
      0,        // the shared preset application
      0,        // the shared section-name rule
      0,        // custom media strings stay as loaded
      0,        // custom-size slots get the default names
  };
  return variant;
}
