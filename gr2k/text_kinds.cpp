// The font kind of a text call: embedding rights, names the device must not take as its own
// (end-user-defined characters, temporary fonts), glyph-index text, private-use characters and
// mirrored transforms make the driver render glyphs; anything else goes as character codes.
#include <string.h>

#include "gr2k/draw_state.h"
#include "gr2k/text_out.h"

namespace {

// Shift-JIS of the full-width letters "ＤＦＧ" that start the names of some font packages'
// outline fonts, and the resident faces' names.
const char kDfgPrefix[] = "\x82\x63\x82\x65\x82\x66";
const char* const kResidentFaces[] = {"\x96\xBE\x92\xA9", "\xBA\xDE\xBC\xAF\xB8", "@\x96\xBE\x92\xA9",
                                      "@\xBA\xDE\xBC\xAF\xB8"};

bool Contains(const WCHAR* text, ULONG chars, const WCHAR* part) {
  ULONG n = 0;
  while (part[n]) ++n;
  for (ULONG i = 0; i + n <= chars; ++i)
    if (memcmp(text + i, part, n * sizeof(WCHAR)) == 0) return true;
  return false;
}

bool IsEudc(const char* name) { return strcmp(name, "EUDC") == 0; }

// Rules on one name, as the family and face share them; whether the name is "EUDC".
BYTE NameKind(BYTE kind, const char* mb, const WCHAR* name, ULONG chars, BOOL eudcSwitch) {
  static const WCHAR kGaiji[] = {0x5916, 0x5B57, 0};  // "外字"
  if (IsEudc(mb)) {
    if (eudcSwitch) kind = kFontKindGlyphs;
    else if (kind == kFontKindGlyphs) kind = kFontKindCodes;
  }
  if (kind != kFontKindGlyphs && memcmp(mb, kDfgPrefix, 6) == 0) kind = kFontKindGlyphs;
  if (eudcSwitch && Contains(name, chars, kGaiji)) kind = kFontKindGlyphs;
  return kind;
}

bool Temporary(const WCHAR* name, ULONG chars) {
  static const WCHAR kTmp[] = {'.', 't', 'm', 'p', 0}, kTmpUpper[] = {'.', 'T', 'M', 'P', 0};
  return Contains(name, chars, kTmp) || Contains(name, chars, kTmpUpper);
}

bool DigitsOnly(const WCHAR* name, ULONG chars) {
  if (!chars) return false;
  for (ULONG i = 0; i < chars; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

// Appends "_" and the font id in hexadecimal; the name before it is cut at a character
// boundary so that name, suffix and NUL fit the field.
void AddPrivateSuffix(const WCHAR* name, ULONG chars, ULONG fontId, char field[kFontNameBytes]) {
  char suffix[12];
  int n = 0;
  suffix[n++] = '_';
  char digits[9];
  int d = 0;
  do digits[d++] = "0123456789abcdef"[fontId & 15], fontId >>= 4;
  while (fontId);
  while (d) suffix[n++] = digits[--d];
  ULONG keep = chars;
  for (;;) {
    FontNameField(name, keep, field);
    if (strlen(field) + ULONG(n) < kFontNameBytes) break;
    --keep;
  }
  memcpy(field + strlen(field), suffix, size_t(n));
}

}  // namespace

BOOL FontSpecialOutputJob(const GraphicsPdev* pdev) {
  return pdev->printMethod == 5 || pdev->apiUse || pdev->hookValue ? TRUE : FALSE;
}

ULONG FontFaceToMultiByte(char* out, const WCHAR* text, ULONG cb, DWORD) {
  ULONG at = 0;
  for (ULONG i = 0; i < cb / 2; ++i) {
    WCHAR c = text[i];
    if (c <= 0x80) {
      out[at++] = char(c);
      continue;
    }
    char two[2];
    ULONG written = 0;
    EngUnicodeToMultiByteN(two, 2, &written, const_cast<PWSTR>(&text[i]), 2);
    for (ULONG k = 0; k < written && k < 2; ++k) out[at++] = two[k];
  }
  return at;
}

void FontNameField(const WCHAR* name, ULONG chars, char field[kFontNameBytes]) {
  memset(field, 0, kFontNameBytes);
  if (chars > kFontNameChars) chars = kFontNameChars;
  if (name) FontFaceToMultiByte(field, name, chars * 2, 128);
}

void FontSelectionBase(const TextCall& call, FontSelection* sel) {
  memset(sel, 0, sizeof *sel);
  sel->italic = (call.font->flFontType & FO_SIM_ITALIC) ? 1 : 0;
  sel->bold = (call.font->flFontType & FO_SIM_BOLD) ? 1 : 0;
  sel->embolden = sel->bold;
  sel->vertical = (call.str->flAccel & SO_VERTICAL) ? 1 : 0;
  sel->weight = SHORT(call.ifi->usWinWeight);
  sel->rotation = SHORT(call.sizes.rotation);
  sel->height = SHORT(call.sizes.height);
  sel->width = SHORT(call.sizes.width);
  sel->averageWidth = SHORT(call.sizes.averageWidth);
  sel->leading = SHORT(call.sizes.leading);
  sel->codeKind = (call.str->flAccel & SO_GLYPHINDEX_TEXTOUT) ? kCodeKindGlyphIndex : kCodeKindChars;
  sel->charset = call.ifi->jWinCharSet;
  sel->pitchAndFamily = call.ifi->jWinPitchAndFamily;
  sel->defaultChar = call.ifi->wcDefaultChar;
  FontNameField(call.family, call.familyChars, sel->familyName);
  FontNameField(call.face, call.faceChars, sel->faceName);
}

BOOL FontSelect(GraphicsPdev* pdev, const FontSelection& sel, ULONG fontId, BOOL isPrivate, BYTE opcode) {
  DrawStateCache* state = pdev->drawState;
  if (!state) return FALSE;
  if (state->fontSelected && state->fontId == fontId && state->fontCodeKind == sel.codeKind) return TRUE;
  state->fontId = fontId;
  state->fontCodeKind = sel.codeKind;
  state->fontSelected = isPrivate ? FALSE : TRUE;
  BYTE* rec = opcode == kRecDownloadFont ? GrRecDownloadFont(&pdev->stream, sel) : GrRecFontSelect(&pdev->stream, sel);
  return rec ? TRUE : FALSE;
}

BOOL FontDecideKind(const TextCall& call, FontSelection* sel) {
  GraphicsPdev* pdev = call.pdev;
  FontSelectionBase(call, sel);
  bool vista = pdev->osVersion.dwMajorVersion >= 6;
  USHORT fsType = call.ifi->fsType;
  BYTE kind = (fsType & 0x0004) || (!vista && (fsType & 0x0008)) ? kFontKindGlyphs : kFontKindCodes;
  if (FontMirrored(call.xform)) kind = kFontKindGlyphs;

  kind = NameKind(kind, sel->familyName, call.family, call.familyChars, pdev->eudcSwitch);
  if (kind != kFontKindGlyphs) {
    static const WCHAR kUnderscores[] = {'_', '_', '_', 0};
    if (Temporary(call.family, call.familyChars)) kind = kFontKindGlyphs;
    else if (vista && (Contains(call.family, call.familyChars, kUnderscores) || DigitsOnly(call.family, call.familyChars)))
      kind = kFontKindGlyphs;
  }
  kind = NameKind(kind, sel->faceName, call.face, call.faceChars, pdev->eudcSwitch);
  if (FontSpecialOutputJob(pdev) && kind != kFontKindGlyphs && Temporary(call.face, call.faceChars)) kind = kFontKindGlyphs;
  if (sel->codeKind == kCodeKindGlyphIndex) kind = kFontKindGlyphs;

  BOOL isPrivate = FALSE;
  if (pdev->eudcSwitch) {
    for (ULONG i = 0; call.str->pwszOrg && i < call.str->cGlyphs; ++i)
      if (call.str->pwszOrg[i] >= 0xE000 && call.str->pwszOrg[i] <= 0xF8FF) {
        kind = kFontKindGlyphs;
        isPrivate = TRUE;
        break;
      }
    if (IsEudc(sel->familyName) || IsEudc(sel->faceName)) isPrivate = TRUE;
  }
  sel->kind = kind;
  if (isPrivate && kind == kFontKindGlyphs) {
    AddPrivateSuffix(call.family, call.familyChars, call.font->iUniq, sel->familyName);
    AddPrivateSuffix(call.face, call.faceChars, call.font->iUniq, sel->faceName);
    if (pdev->drawState) pdev->drawState->fontSelected = FALSE;
  }
  return FontSelect(pdev, *sel, call.font->iUniq, isPrivate && kind == kFontKindGlyphs, kRecFontSelect);
}

BOOL FontSubstituteDevice(const TextCall& call, FontSelection* sel) {
  FontSelectionBase(call, sel);
  sel->kind = kFontKindDownload;
  for (const char* resident : kResidentFaces)
    if (strcmp(sel->familyName, resident) == 0 || strcmp(sel->faceName, resident) == 0) sel->kind = kFontKindCodes;
  return FontSelect(call.pdev, *sel, call.font->iUniq, FALSE,
                    sel->kind == kFontKindCodes ? kRecFontSelect : kRecDownloadFont);
}
