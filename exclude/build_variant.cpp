// The exclusion DLL's build switches and variants of shared operations.
#include "core/common/context_facts.h"
#include "core/common/languages.h"
#include "core/engine/build_switches.h"
#include "core/store/item_store.h"

namespace {

// The language code of the printer's help file, whatever the open mode.
LPCWSTR InstalledLangCodeFromHelpFile(DriverContext* ctx) {
  LPCWSTR code = ResLangCodeFromHelpFile(ctx);
  LPWSTR field = CtxLanguageCode(ctx);
  if (!field || !code) return code;
  DWORD n = 0;
  for (; code[n] && n + 1 < kCtxLanguageCodeChars; ++n) field[n] = code[n];
  field[n] = 0;
  return field;
}

}  // namespace

const BuildVariant& BuildGetVariant() {
  static const BuildVariant variant = {
      "zemsexc",
      6,        // features 0-5
      1,        // common driver
      1u << 7,  // terminal-server client configuration
      1u << 0,  // flag 1: preset refresh at sheet open
      0,        // no install step at open
      StoreLoadAtOpen,
      InstalledLangCodeFromHelpFile,
  };
  return variant;
}

