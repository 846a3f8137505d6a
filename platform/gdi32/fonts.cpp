// EnumFontFamiliesExW of the simulated machine, simplified: the machine has no font files; it
// knows a fixed set of families (three TrueType faces, the vertical form of a TrueType face and
// one raster face) and names each once, whatever the DC, charset or face asked for.
#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {

struct Family {
  const char16_t* face;
  DWORD type;
};
constexpr Family kFamilies[] = {
    {u"Arial", TRUETYPE_FONTTYPE},
    {u"Courier New", TRUETYPE_FONTTYPE},
    {u"Times New Roman", TRUETYPE_FONTTYPE},
    {u"@MS Mincho", TRUETYPE_FONTTYPE},
    {u"System", RASTER_FONTTYPE},
};

}  // namespace

WINSIM_API int WINAPI EnumFontFamiliesExW(HDC hdc, LPLOGFONTW lpLogfont, FONTENUMPROCW lpProc, LPARAM lParam,
                                          DWORD dwFlags) {
  (void)hdc;
  (void)lpLogfont;
  (void)dwFlags;
  WINSIM_SIMPLIFIED("EnumFontFamiliesExW", "names a fixed set of families, whatever is asked");
  if (!lpProc) return 0;
  int last = 1;
  for (const Family& family : kFamilies) {
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    for (int i = 0; family.face[i] && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = family.face[i];
    last = lpProc(&font, nullptr, family.type, lParam);
    if (last == 0) return 0;
  }
  return last;
}
