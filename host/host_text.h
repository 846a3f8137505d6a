// UTF-8 (the host's command line and output) to and from the driver's UTF-16, through the
// machine's own code-page conversion.
#pragma once
#include <stddef.h>

#include <string>

#include "platform/win32.h"

std::u16string Wide(const std::string& utf8);
std::string Narrow(const WCHAR* text, size_t count);
std::string Narrow(const WCHAR* text);

// Prints the public fields of a DEVMODE (its DEVMODEW head) on one line, "devmode: ...".
void PrintDevmode(const BYTE* dm);
