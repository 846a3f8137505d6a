// The job DEVMODE a print session starts from, changed by catalogue names: what a host does
// with a script's devmode and reset statements (the engine itself knows only the public fields).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

// Merges the DEVMODE (when not empty) into a context of the printer, sets each item (its
// catalogue name; the stored value, decimal or 0x hexadecimal, may be negative) and gives the
// driver's output DEVMODE back in dm. False with a message for an unknown item or value.
bool HostEditJobDevmode(void* context, HANDLE printer,
                        const std::vector<std::pair<std::string, std::string>>& settings,
                        std::vector<BYTE>* dm, std::string* error);
