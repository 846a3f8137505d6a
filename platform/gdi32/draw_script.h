// Drawing scripts (.zds): the statements a print session plays through GDI, one a line. The
// reader takes any bytes and gives either the statements or the first error with its place;
// every size it accepts is bounded.
#pragma once
#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#define DRAW_SCRIPT_API __attribute__((visibility("default")))

namespace winsim {

// Bounds of what a script may ask for.
constexpr size_t kScriptMaxStatementBytes = 64 * 1024;
constexpr size_t kScriptMaxImageBytes = 64u << 20;
constexpr size_t kScriptMaxPathPoints = 1000000;
constexpr size_t kScriptMaxTextChars = 200000;
constexpr long kScriptMaxCoordinate = 1L << 26;  // coordinates lie strictly inside +-2^26

enum class DrawKind {
  Devmode, Doc, EndDoc, Page, EndPage, Reset, Escape, Clip, Brush, Pen, Rect, Image, Path, Font, Text,
};

// The reader's errors; one message each in ScriptErrorMessage.
enum class ScriptError {
  None,
  StatementTooLong,
  UnknownStatement,
  MissingArgument,
  ExtraArgument,
  BadNumber,
  NumberOutOfRange,
  BadColour,
  UnterminatedText,
  BadEscape,
  NotUtf8,
  BadHex,
  BadSetting,
  UnknownOption,
  UnknownKeyword,
  ImageTooLarge,
  TooManyPoints,
  TextTooLong,
  ImageDataSize,
};
DRAW_SCRIPT_API const char* ScriptErrorMessage(ScriptError error);

struct DrawRect {
  long left, top, right, bottom;
};

// One statement. Only the fields of its kind are filled.
struct DrawStatement {
  DrawKind kind = DrawKind::Page;
  int line = 0;
  std::string keyword;      // the statement's first word
  std::string subkind;      // clip none|rect|rects|path, brush solid|hatch|pattern|none, path stroke|...
  std::vector<std::pair<std::string, std::string>> settings;  // devmode, reset: NAME=VALUE
  std::u16string text;      // doc name, escape text input, text statement's characters
  std::u16string user;      // doc user
  std::string bytes;        // escape raw input
  bool hasInput = false;
  long number = 0;          // doc id, escape code, hatch index
  long out = 0;             // escape output size
  bool hasId = false;
  uint32_t colour = 0;      // brush solid colour, hatch foreground
  uint32_t colour2 = 0;     // hatch background
  // path and clip path: x, y pairs and a kind per point (1 move, 2 line, 3 curve point; 0x80
  // closes the figure at that point); path winding fills by the nonzero rule.
  std::vector<long> points;
  std::vector<uint8_t> pointKinds;
  bool winding = false;
  std::vector<DrawRect> rects;  // clip rect(s), rect statement
  uint32_t rop = 0xF0F0;    // rect's ROP4
  // image and brush pattern: the bitmap (rows padded to 32 bits, top row first; empty for
  // gen=), its size and depth, the transfer call and the source point. pen: its settings
  // (width, style, cap, join, miter) and "geometric=1" in settings.
  std::string image;
  long width = 0, height = 0, bpp = 0;
  // call blt|copy|stretch|stretchrop; src= x y w h the source rectangle (w, h 0: the whole
  // bitmap); settings palette=grey|colour, mask=1 and rop=ROP4 (hex) as given.
  std::string call = "blt";
  long srcX = 0, srcY = 0, srcW = 0, srcH = 0;
  // font: the device font 1..n (0: a font of the system), the em height in device dots (0:
  // the font's own units) and the counter-clockwise angle in degrees; text: its origin.
  long device = 0, size = 0, angle = 0;
  long x = 0, y = 0;
  // font of the engine (no device=): family="..." (the face's family name, default the face),
  // fstype=N, charset=N, the words fixed (fixed pitch, as "Sim Mono" is), bold and italic
  // (simulations).
  std::u16string family;
  long fsType = 0, charset = 0;
  bool fixedPitch = false, bold = false, italic = false;
  // text: glyphindex and vertical (SO_ flags), fixed=N (default placement with ulCharInc N),
  // opaque L T R B (the opaque rectangle), extra L T R B ... (the extra rectangles, in rects).
  bool glyphIndex = false, vertical = false, hasOpaque = false;
  long charInc = 0;
  DrawRect opaque = {0, 0, 0, 0};
};

struct ScriptResult {
  std::vector<DrawStatement> statements;
  ScriptError error = ScriptError::None;
  int line = 0;    // 1-based place of the error
  int column = 0;
};

// Reads a whole script. On an error the statements read so far are kept.
DRAW_SCRIPT_API ScriptResult ReadDrawScript(const char* data, size_t size);
// "line L, column C: message" for an error.
DRAW_SCRIPT_API std::string ScriptErrorText(const ScriptResult& result);

}  // namespace winsim
