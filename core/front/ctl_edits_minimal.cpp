// Minimal version until the picture drawing's palette support is built: the display is taken
// as a true-colour one, so no palette is ever built and the answer is always 0.
#include "platform/win32.h"

int ResBuildDisplayPalette(HDC dc, int index, COLORREF colour) {
  (void)dc; (void)index; (void)colour;
  return 0;
}
