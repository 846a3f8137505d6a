// Minimal version until the watermark store is built: the Western default font in every
// language.
#include "core/store/watermark_font.h"

#include "core/common/text.h"

void StampDefaultFontName(DriverContext*, WCHAR* buffer) {
  if (buffer) StrCopyCut(buffer, kDefaultFontNameChars, TEXT("Arial"));
}
