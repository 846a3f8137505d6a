// The default watermark font: the Western font, or the Japanese one with the Japanese
// language DLL.
#include "core/store/watermark_font.h"

#include "core/common/text.h"
#include "core/system/resources.h"

void StampDefaultFontName(DriverContext* ctx, WCHAR* buffer) {
  // "ＭＳ Ｐゴシック"
  static const WCHAR kJapanese[] = {0xFF2D, 0xFF33, 0x0020, 0xFF30, 0x30B4, 0x30B7, 0x30C3, 0x30AF, 0};
  if (!buffer) return;
  StrCopyCut(buffer, kDefaultFontNameChars, ctx && ResIsJapanese(ctx) ? kJapanese : TEXT("Arial"));
}
