// The default font of watermarks and header/footer texts.
#pragma once
#include "platform/win32.h"

struct DriverContext;

constexpr int kDefaultFontNameChars = 32;
// Writes the default font name (kDefaultFontNameChars characters at most, terminated).
void StampDefaultFontName(DriverContext* ctx, WCHAR* buffer);
