// Text in vector mode: the font kind of a call (character codes the device renders with a font
// of that name, or glyphs the driver renders) and the forms it is sent in: codes in one run
// (record 82), one cell per character (81), glyph outlines (81), glyph bitmaps one per glyph
// (83, 87) or downloaded once per page and placed by a run (84, 85).
#pragma once
#include "gr2k/pdev.h"
#include "gr2k/records_text.h"
#include "gr2k/text_geometry.h"

// Names are converted from at most this many UTF-16 characters.
constexpr ULONG kFontNameChars = 128;

// One text call as the deciders and senders see it.
struct TextCall {
  GraphicsPdev* pdev;
  STROBJ* str;
  FONTOBJ* font;
  const IFIMETRICS* ifi;
  XFORML xform;
  FontCallSizes sizes;
  // The font's names as UTF-16 (at most kFontNameChars characters each, not terminated).
  const WCHAR* family;
  ULONG familyChars;
  const WCHAR* face;
  ULONG faceChars;
};

// A special-output job (print method 5, an API-use or hook value): its text never goes as
// bitmaps, and a face name with ".tmp" makes glyphs.
BOOL FontSpecialOutputJob(const GraphicsPdev* pdev);

// Character by character: below U+0080 the same byte, U+0080 as 0x80, any other through the
// machine's ANSI code page into at most 2 bytes. cb is the text's size in bytes; out must hold
// as many. The bytes written (no NUL: callers add it). mode is 128, the only one there is.
ULONG FontFaceToMultiByte(char* out, const WCHAR* text, ULONG cb, DWORD mode);

// The selection of a call and its kind (codes, or glyphs the driver renders); record 80 when
// the page's selection changes.
BOOL FontDecideKind(const TextCall& call, FontSelection* sel);
// Codes in records 82, or cells when they cannot be one run.
BOOL FontSendCodes(const TextCall& call, const FontSelection& sel);
// One record 81 (cell kind) per character, at positions (count of them) or the string's own.
BOOL FontSendCells(const TextCall& call, const FontSelection& sel, const POINTL* positions, ULONG count);
// One record 81 (outline kind) per glyph with an outline.
BOOL FontSendOutlines(const TextCall& call);

// Text as bitmaps: the selection (resident faces keep their codes, any other font is downloaded)
// with record 80 or 86 when it changes.
BOOL FontSubstituteDevice(const TextCall& call, FontSelection* sel);
// Downloaded and placed by a run, or one bitmap per glyph for text the cache cannot serve
// (rotated, vertical, mirrored or "EUDC").
BOOL FontSendBitmapText(const TextCall& call, const FontSelection& sel);
// One record 83 per glyph (cached: a glyph already sent names it without bits) or 87.
BOOL FontSendGlyphImages(const TextCall& call, const FontSelection& sel, BOOL cached);
// Records 84 for the glyphs not yet in the cache, each entered once written.
BOOL FontDownloadGlyphs(const TextCall& call, const FontSelection& sel);
// The download, then one record 85 placing every glyph.
BOOL FontSendDownloaded(const TextCall& call, const FontSelection& sel);

// Shared by the senders: the glyphs of the string in order, each with its index in the string,
// its batch's first position and its index in the batch. Stops (FALSE) when visit does.
template <class Visit>
BOOL FontForEachGlyph(STROBJ* str, Visit visit) {
  ULONG index = 0;
  if (str->pgp) {
    for (ULONG i = 0; i < str->cGlyphs; ++i)
      if (!visit(i, str->pgp[i], str->pgp[0].ptl, i)) return FALSE;
    return TRUE;
  }
  STROBJ_vEnumStart(str);
  BOOL more = TRUE;
  while (more && index < str->cGlyphs) {
    ULONG count = 0;
    GLYPHPOS* batch = nullptr;
    more = STROBJ_bEnum(str, &count, &batch);
    if (!batch) break;
    for (ULONG i = 0; i < count && index < str->cGlyphs; ++i, ++index)
      if (!visit(index, batch[i], batch[0].ptl, i)) return FALSE;
  }
  return TRUE;
}
// The position a run gives glyph i of a batch: its own, or with default placement and a
// character increment the batch's first position plus i increments along the baseline.
POINTL FontPlacedAt(const STROBJ* str, const GLYPHPOS& glyph, POINTL batchFirst, ULONG inBatch);
// Writes the selection as record 80 or 86 unless the page has it selected; a private call
// selects anew on the next call too.
BOOL FontSelect(GraphicsPdev* pdev, const FontSelection& sel, ULONG fontId, BOOL isPrivate, BYTE opcode);
// Fills the fields both deciders share: simulations, vertical, weight, rotation, sizes, code
// kind, charset, pitch and default character.
void FontSelectionBase(const TextCall& call, FontSelection* sel);
// The multibyte form of a name into its zero-filled field.
void FontNameField(const WCHAR* name, ULONG chars, char field[kFontNameBytes]);
