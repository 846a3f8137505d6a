// The model database of the machine and the model name of the driver's model data file.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Characters of a model name with its terminator.
constexpr DWORD kModelNameChars = 33;

// The model name of the model data file's "Models" section, key = the driver name, at most 32
// characters, leading blanks skipped; null when there is none. The text stays valid until the
// next call on the same thread.
const WCHAR* InstReadModelName(DriverContext* ctx);
