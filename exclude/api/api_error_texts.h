// What each last-error code of the application interface means, for those who show the codes to
// people (the host bench, logs). The codes are the interface's (api_levels.h, and the
// acquisition's 200-202).
#pragma once
#include "exclude/api/api_levels.h"

inline const char* ApiErrorMeaning(LONG code) {
  switch (code) {
    case kApiErrNone: return "no error";
    case kApiErrNoFlag: return "no recognised flag";
    case kApiErrNotEnabled: return "item not enabled, feature not usable, or item needs a higher level";
    case kApiErrDriverType: return "capability not available on this driver type";
    case kApiErrNoRecord: return "required record or DEVMODE missing";
    case kApiErrVersion: return "record version not available at this level";
    case kApiErrRefused: return "refused by the printer's rules";
    case kApiErrFont: return "font not installed";
    case kApiErrWatermarkList: return "watermark list";
    case kApiErrPath: return "bad path or file";
    case kApiErrCharacters: return "bad characters or length";
    case kApiErrReadOnly: return "read-only";
    case kApiErrInfoCode: return "information sub-code not available";
    case kApiErrStore: return "store failed";
    case kApiErrPaper: return "paper size out of range or no longer usable";
    case kApiErrInternal: return "internal failure (no memory, printer cannot be opened, no row)";
    case 200: case 201: case 202: return "a call of the bidirectional communication library failed";
    case kApiErrPrintMacro: return "setting needs the user print macro rule";
    case kApiErrSettingsFile: return "settings file";
    case kApiErrTerminalServer: return "refused in terminal-server mode";
    default: return "unknown code";
  }
}
