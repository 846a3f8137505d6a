// The printer interface's build switches and variants of shared operations.
#include "core/system/languages.h"
#include "core/tables/build_switches.h"
#include "core/store/item_store.h"

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
      1,        // refused settings files are shown
      nullptr,  // the shared settings-file fix-ups
  };
  return variant;
}

