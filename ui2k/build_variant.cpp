// The printer interface's build switches and variants of shared operations.
#include "core/system/languages.h"
#include "core/devmode/dm_layout.h"
#include "core/tables/build_switches.h"
#include "core/store/item_store.h"
#include "ui2k/dlg_notify.h"
#include "ui2k/host_repair.h"

const BuildVariant& BuildGetVariant() {
  static const BuildVariant variant = {
      "zemsui",
      6,        // features 0-5
      1,        // common driver
      1u << 7,  // terminal-server client configuration
      1u << 0,  // flag 1: preset refresh at sheet open
      1,        // the open pushes pending install values
      StoreLoadAtOpen,
      ResGetInstalledLangCode,
      DlgNotifyChange,
      0,        // value checks as the model describes
      0, 0, 0, 0, 0, 0, 0,  // the shared paper, merge and user-macro forms
      kDmStepCommonMark | kDmStepOptionBlock | kDmStepRetestCompanions | kDmStepJobControlFetch |
          kDmStepEnvCompanions | kDmStepResetWorkItems,
      1,        // refused settings files are shown
      nullptr,  // the shared settings-file fix-ups
      0,        // the shared preset application
      0,        // the shared section-name rule
      0,        // custom media strings stay as loaded
      0,        // custom-size slots get the default names
      CtxFixHostSubclassing,
  };
  return variant;
}

