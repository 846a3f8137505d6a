// The reader of drawing scripts. A line is cut into tokens (bare words, NAME=VALUE settings,
// quoted texts, <hex> blocks), then checked by its statement's rules. Errors are data: the
// first one stops the reader with its line and column.
#include "platform/gdi32/draw_script.h"

#include <string.h>

#include "platform/sim/internal.h"

namespace winsim {

namespace {

const char* const kMessages[] = {
    "no error",
    "statement longer than 64 KiB",
    "unknown statement",
    "argument missing",
    "argument not expected here",
    "not a number (decimal or 0x hexadecimal)",
    "number out of range",
    "not a colour 0xRRGGBB",
    "text without its closing quote",
    "unknown escape in text (\\\" \\\\ \\xHH)",
    "text is not UTF-8",
    "bad <hex> block",
    "setting is not NAME=VALUE",
    "unknown option",
    "unknown keyword",
    "image larger than 64 MiB",
    "path of more than 1,000,000 points",
    "text longer than 200,000 characters",
    "image data does not match its size",
};
static_assert(sizeof(kMessages) / sizeof(kMessages[0]) == size_t(ScriptError::ImageDataSize) + 1, "one message each");

enum class TokenKind { Bare, Text, WideText, Hex };

struct Token {
  TokenKind kind = TokenKind::Bare;
  std::string name;   // NAME of NAME=VALUE, else empty
  std::string value;  // bare text, decoded text bytes or hex bytes
  bool setting = false;
  int column = 0;
};

struct Failure {
  ScriptError error;
  int column;
};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text from line[i] (the quote); i ends after the closing quote.
bool ReadText(const char* line, size_t n, size_t& i, std::string* out, Failure* f) {
  size_t start = i++;
  while (i < n && line[i] != '"') {
    if (line[i] == '\\') {
      if (i + 1 >= n) break;
      char e = line[i + 1];
      if (e == '"' || e == '\\') {
        out->push_back(e);
        i += 2;
      } else if (e == 'x' && i + 3 < n && HexDigit(line[i + 2]) >= 0 && HexDigit(line[i + 3]) >= 0) {
        out->push_back(char(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3])));
        i += 4;
      } else {
        *f = {ScriptError::BadEscape, int(i) + 1};
        return false;
      }
    } else {
      out->push_back(line[i++]);
    }
  }
  if (i >= n) {
    *f = {ScriptError::UnterminatedText, int(start) + 1};
    return false;
  }
  ++i;
  return true;
}

bool ReadHex(const char* line, size_t n, size_t& i, std::string* out, Failure* f) {
  size_t start = i++;
  int high = -1;
  while (i < n && line[i] != '>') {
    char c = line[i++];
    if (IsSpace(c)) continue;
    int d = HexDigit(c);
    if (d < 0) {
      *f = {ScriptError::BadHex, int(i)};
      return false;
    }
    if (high < 0) {
      high = d;
    } else {
      out->push_back(char(high * 16 + d));
      high = -1;
    }
  }
  if (i >= n || high >= 0) {
    *f = {ScriptError::BadHex, int(start) + 1};
    return false;
  }
  ++i;
  return true;
}

// A quoted, wide-quoted or hex value starting at line[i], if there is one.
bool ReadValue(const char* line, size_t n, size_t& i, Token* t, Failure* f) {
  if (line[i] == '"') {
    t->kind = TokenKind::Text;
    return ReadText(line, n, i, &t->value, f);
  }
  if (line[i] == 'w' && i + 1 < n && line[i + 1] == '"') {
    ++i;
    t->kind = TokenKind::WideText;
    return ReadText(line, n, i, &t->value, f);
  }
  t->kind = TokenKind::Hex;
  return ReadHex(line, n, i, &t->value, f);
}

bool StartsValue(const char* line, size_t n, size_t i) {
  return i < n && (line[i] == '"' || line[i] == '<' || (line[i] == 'w' && i + 1 < n && line[i + 1] == '"'));
}

bool Tokenize(const char* line, size_t n, std::vector<Token>* tokens, Failure* f) {
  size_t i = 0;
  while (i < n) {
    while (i < n && IsSpace(line[i])) ++i;
    if (i >= n || line[i] == '#') break;
    Token t;
    t.column = int(i) + 1;
    if (StartsValue(line, n, i)) {
      if (!ReadValue(line, n, i, &t, f)) return false;
    } else {
      size_t start = i;
      while (i < n && !IsSpace(line[i]) && line[i] != '"' && line[i] != '<' && line[i] != '#') ++i;
      std::string word(line + start, i - start);
      size_t eq = word.find('=');
      if (eq != std::string::npos) {
        t.setting = true;
        t.name = word.substr(0, eq);
        t.value = word.substr(eq + 1);
        if (t.value == "w" && i < n && line[i] == '"') {
          t.value.clear();
          --i;  // back to the 'w' of w"..."
        }
        if (t.value.empty() && StartsValue(line, n, i) && !ReadValue(line, n, i, &t, f)) return false;
      } else {
        t.value = word;
        if (word == "w" && i < n && line[i] == '"') {
          i = start;
          if (!ReadValue(line, n, i, &t, f)) return false;
        }
      }
    }
    tokens->push_back(std::move(t));
  }
  return true;
}

bool ParseNumber(const std::string& s, long long* out) {
  if (s.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (s[0] == '-') {
    negative = true;
    i = 1;
  }
  int base = 10;
  if (s.size() > i + 2 && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  unsigned long long v = 0;
  for (; i < s.size(); ++i) {
    int d = base == 16 ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    v = v * base + unsigned(d);
    if (v > 0xFFFFFFFFull) return false;  // nothing in a script is wider than 32 bits
  }
  *out = negative ? -(long long)v : (long long)v;
  return true;
}

// Reading one statement's tokens in order.
class Args {
 public:
  Args(const std::vector<Token>& tokens, int lineLength) : t_(tokens), end_(lineLength + 1) {}
  bool More() const { return next_ < t_.size(); }
  const Token* Peek() const { return More() ? &t_[next_] : nullptr; }
  const Token& Take() { return t_[next_++]; }
  int Column() const { return More() ? t_[next_].column : end_; }

  bool Number(long long lo, long long hi, long long* out, Failure* f) {
    if (!More()) return Fail(ScriptError::MissingArgument, f);
    const Token& t = Take();
    if (t.kind != TokenKind::Bare || t.setting) return Fail(ScriptError::BadNumber, f, t.column);
    return ValueNumber(t, t.value, lo, hi, out, f);
  }
  static bool ValueNumber(const Token& t, const std::string& text, long long lo, long long hi, long long* out,
                          Failure* f) {
    if (!ParseNumber(text, out)) return Fail(ScriptError::BadNumber, f, t.column);
    if (*out < lo || *out > hi) return Fail(ScriptError::NumberOutOfRange, f, t.column);
    return true;
  }
  bool Coordinate(long* out, Failure* f) {
    long long v;
    if (!Number(-kScriptMaxCoordinate + 1, kScriptMaxCoordinate - 1, &v, f)) return false;
    *out = long(v);
    return true;
  }
  bool Rect(DrawRect* r, Failure* f) {
    return Coordinate(&r->left, f) && Coordinate(&r->top, f) && Coordinate(&r->right, f) && Coordinate(&r->bottom, f);
  }
  bool Colour(uint32_t* out, Failure* f) {
    if (!More()) return Fail(ScriptError::MissingArgument, f);
    const Token& t = Take();
    long long v;
    if (t.kind != TokenKind::Bare || t.setting || !ParseNumber(t.value, &v) || v < 0 || v > 0xFFFFFF)
      return Fail(ScriptError::BadColour, f, t.column);
    *out = uint32_t(v);
    return true;
  }
  bool End(Failure* f) { return More() ? Fail(ScriptError::ExtraArgument, f, Column()) : true; }
  bool Fail(ScriptError e, Failure* f) const { return Fail(e, f, Column()); }
  static bool Fail(ScriptError e, Failure* f, int column) {
    *f = {e, column};
    return false;
  }

 private:
  const std::vector<Token>& t_;
  size_t next_ = 1;  // the keyword is token 0
  int end_;
};

bool Utf16Of(const Token& t, std::u16string* out, Failure* f) {
  if (!AppendUtf16(reinterpret_cast<const unsigned char*>(t.value.data()), t.value.size(), out))
    return Args::Fail(ScriptError::NotUtf8, f, t.column);
  if (out->size() > kScriptMaxTextChars) return Args::Fail(ScriptError::TextTooLong, f, t.column);
  return true;
}

bool IsName(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

bool Settings(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  while (a.More()) {
    const Token& t = a.Take();
    if (!t.setting || t.kind != TokenKind::Bare || !IsName(t.name) || t.value.empty())
      return Args::Fail(ScriptError::BadSetting, f, t.column);
    s->settings.emplace_back(t.name, t.value);
  }
  return true;
}

bool Doc(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& name = a.Take();
  if (name.kind != TokenKind::Text || name.setting) return Args::Fail(ScriptError::MissingArgument, f, name.column);
  if (!Utf16Of(name, &s->text, f)) return false;
  while (a.More()) {
    const Token& t = a.Take();
    long long v;
    if (t.setting && t.name == "id" && t.kind == TokenKind::Bare) {
      if (!Args::ValueNumber(t, t.value, 1, 0x7FFFFFFF, &v, f)) return false;
      s->number = long(v);
      s->hasId = true;
    } else if (t.setting && t.name == "user" && t.kind == TokenKind::Text) {
      if (!Utf16Of(t, &s->user, f)) return false;
    } else {
      return Args::Fail(ScriptError::UnknownOption, f, t.column);
    }
  }
  return true;
}

struct NamedEscape {
  const char* name;
  long code;
};
// Escapes by their Windows names; any other code is given as a number.
const NamedEscape kEscapes[] = {
    {"NEWFRAME", 1},
    {"ABORTDOC", 2},
    {"NEXTBAND", 3},
    {"SETCOLORTABLE", 4},
    {"GETCOLORTABLE", 5},
    {"QUERYESCSUPPORT", 8},
    {"STARTDOC", 10},
    {"ENDDOC", 11},
    {"GETPHYSPAGESIZE", 12},
    {"GETPRINTINGOFFSET", 13},
    {"SETCOPYCOUNT", 17},
    {"PASSTHROUGH", 19},
    {"GETTECHNOLOGY", 20},
    {"GETSCALINGFACTOR", 14},
    {"SETABORTPROC", 9},
    {"DRAWPATTERNRECT", 25},
    {"POSTSCRIPT_PASSTHROUGH", 4115},
    {"CHECKJPEGFORMAT", 4119},
    {"CHECKPNGFORMAT", 4120},
    {"GET_PS_FEATURESETTING", 4121},
};

bool Escape(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& code = a.Take();
  long long v = -1;
  for (const NamedEscape& e : kEscapes)
    if (code.kind == TokenKind::Bare && !code.setting && code.value == e.name) v = e.code;
  if (v < 0) {
    if (code.kind != TokenKind::Bare || code.setting) return Args::Fail(ScriptError::BadNumber, f, code.column);
    if (!Args::ValueNumber(code, code.value, 0, 0x7FFFFFFF, &v, f)) return false;
  }
  s->number = long(v);
  while (a.More()) {
    const Token& t = a.Take();
    if (t.setting && t.name == "out" && t.kind == TokenKind::Bare) {
      if (!Args::ValueNumber(t, t.value, 0, 64 * 1024 * 1024, &v, f)) return false;
      s->out = long(v);
    } else if (t.setting && t.name == "in" && !s->hasInput) {
      s->hasInput = true;
      if (t.kind == TokenKind::Text) {
        s->bytes = t.value;  // narrow input: the bytes as written
      } else if (t.kind == TokenKind::WideText) {
        std::u16string wide;
        if (!Utf16Of(t, &wide, f)) return false;
        s->bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
      } else if (t.kind == TokenKind::Hex) {
        s->bytes = t.value;
      } else if (t.value.compare(0, 4, "u16:") == 0 || t.value.compare(0, 4, "u32:") == 0) {
        bool wide = t.value[1] == '3';
        if (!Args::ValueNumber(t, t.value.substr(4), 0, wide ? 0xFFFFFFFFll : 0xFFFFll, &v, f)) return false;
        uint32_t n = uint32_t(v);
        s->bytes.assign(reinterpret_cast<const char*>(&n), wide ? 4 : 2);
      } else {
        return Args::Fail(ScriptError::BadSetting, f, t.column);
      }
    } else {
      return Args::Fail(ScriptError::UnknownOption, f, t.column);
    }
  }
  return true;
}

// M x y, L x y, C x1 y1 x2 y2 x3 y3 and Z; a figure that does not start with M starts at its
// first point, and Z closes the figure at its last point.
bool PathPoints(Args& a, Failure* f, DrawStatement* s) {
  while (a.More()) {
    const Token& t = a.Take();
    if (t.kind != TokenKind::Bare || t.setting) return Args::Fail(ScriptError::UnknownKeyword, f, t.column);
    int coordinates = t.value == "M" || t.value == "L" ? 1 : t.value == "C" ? 3 : t.value == "Z" ? 0 : -1;
    if (coordinates < 0) return Args::Fail(ScriptError::UnknownKeyword, f, t.column);
    if (coordinates == 0 && !s->pointKinds.empty()) s->pointKinds.back() |= 0x80;
    if (s->pointKinds.size() + size_t(coordinates) > kScriptMaxPathPoints)
      return Args::Fail(ScriptError::TooManyPoints, f, t.column);
    for (int i = 0; i < coordinates; ++i) {
      long x, y;
      if (!a.Coordinate(&x, f) || !a.Coordinate(&y, f)) return false;
      s->points.push_back(x);
      s->points.push_back(y);
      s->pointKinds.push_back(uint8_t(t.value == "M" ? 1 : t.value == "L" ? 2 : 3));
    }
  }
  return true;
}

bool Clip(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& kind = a.Take();
  s->subkind = kind.value;
  if (kind.setting || kind.kind != TokenKind::Bare) return Args::Fail(ScriptError::UnknownKeyword, f, kind.column);
  if (s->subkind == "none") return a.End(f);
  if (s->subkind == "rect" || s->subkind == "rects") {
    do {
      DrawRect r;
      if (!a.Rect(&r, f)) return false;
      s->rects.push_back(r);
    } while (s->subkind == "rects" && a.More());
    return a.End(f);
  }
  if (s->subkind == "path") return PathPoints(a, f, s);
  return Args::Fail(ScriptError::UnknownKeyword, f, kind.column);
}

bool Brush(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& kind = a.Take();
  s->subkind = kind.value;
  if (kind.setting || kind.kind != TokenKind::Bare) return Args::Fail(ScriptError::UnknownKeyword, f, kind.column);
  long long v;
  if (s->subkind == "none") return a.End(f);
  if (s->subkind == "solid") return a.Colour(&s->colour, f) && a.End(f);
  if (s->subkind == "hatch") {
    uint32_t fg, bg;
    if (!a.Number(0, 5, &v, f) || !a.Colour(&fg, f) || !a.Colour(&bg, f)) return false;
    s->number = long(v);
    s->colour = fg;
    s->colour2 = bg;
    return a.End(f);
  }
  if (s->subkind == "pattern") {
    long long w, h, bpp;
    if (!a.Number(1, 256, &w, f) || !a.Number(1, 256, &h, f) || !a.Number(1, 32, &bpp, f)) return false;
    if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
    const Token& data = a.Take();
    if (data.kind != TokenKind::Hex) return Args::Fail(ScriptError::BadHex, f, data.column);
    if (data.value.size() != size_t(((w * bpp + 31) / 32) * 4 * h))
      return Args::Fail(ScriptError::ImageDataSize, f, data.column);
    s->image = data.value;
    s->width = long(w), s->height = long(h), s->bpp = long(bpp);
    return a.End(f);
  }
  return Args::Fail(ScriptError::UnknownKeyword, f, kind.column);
}

bool Image(Args& a, DrawStatement* s, Failure* f) {
  DrawRect r;
  long long w, h, bpp;
  if (!a.Rect(&r, f) || !a.Number(1, 1 << 20, &w, f) || !a.Number(1, 1 << 20, &h, f) || !a.Number(1, 32, &bpp, f))
    return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return Args::Fail(ScriptError::NumberOutOfRange, f, a.Column());
  unsigned long long bytes = (unsigned long long)((w * bpp + 31) / 32) * 4 * (unsigned long long)h;
  if (bytes > kScriptMaxImageBytes) return Args::Fail(ScriptError::ImageTooLarge, f, a.Column());
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& data = a.Take();
  if (data.kind == TokenKind::Hex) {
    if (data.value.size() != bytes) return Args::Fail(ScriptError::ImageDataSize, f, data.column);
    s->image = data.value;
  } else if (!(data.setting && data.name == "gen")) {
    return Args::Fail(ScriptError::MissingArgument, f, data.column);
  }
  s->rects.push_back(r);
  s->width = long(w), s->height = long(h), s->bpp = long(bpp);
  // src=x y w h: the three numbers after the setting.
  while (a.More()) {
    const Token& t = a.Take();
    if (t.setting && t.name == "call") s->call = t.value;
    if (t.setting && (t.name == "palette" || t.name == "rop" || t.name == "mask")) s->settings.push_back({t.name, t.value});
    if (t.setting && (t.name == "palette" || t.name == "call" || t.name == "rop" || t.name == "mask")) continue;
    if (t.setting && t.name == "src") {
      long long v;
      if (!Args::ValueNumber(t, t.value, 0, 1 << 20, &v, f)) return false;
      s->srcX = long(v);
      if (!a.Number(0, 1 << 20, &v, f)) return false;
      s->srcY = long(v);
      if (!a.Number(0, 1 << 20, &v, f)) return false;
      s->srcW = long(v);
      if (!a.Number(0, 1 << 20, &v, f)) return false;
      s->srcH = long(v);
      continue;
    }
    return Args::Fail(ScriptError::UnknownOption, f, t.column);
  }
  return true;
}

// pen width=W [geometric] [style=a,b,...] [cap=round|butt|square] [join=round|bevel|miter]
// [miter=M]: numbers are whole or decimal; kept as settings.
bool Pen(Args& a, DrawStatement* s, Failure* f) {
  while (a.More()) {
    const Token& t = a.Take();
    if (!t.setting && t.kind == TokenKind::Bare && t.value == "geometric") {
      s->settings.emplace_back("geometric", "1");
      continue;
    }
    if (!t.setting || t.kind != TokenKind::Bare) return Args::Fail(ScriptError::UnknownOption, f, t.column);
    bool ok = false;
    if (t.name == "cap") ok = t.value == "round" || t.value == "butt" || t.value == "square";
    else if (t.name == "join") ok = t.value == "round" || t.value == "bevel" || t.value == "miter";
    else if (t.name == "width" || t.name == "miter" || t.name == "style") {
      ok = !t.value.empty() && t.value.size() <= 200;
      for (char c : t.value) ok = ok && ((c >= '0' && c <= '9') || c == '.' || (c == ',' && t.name == "style"));
    } else {
      return Args::Fail(ScriptError::UnknownOption, f, t.column);
    }
    if (!ok) return Args::Fail(ScriptError::BadSetting, f, t.column);
    s->settings.emplace_back(t.name, t.value);
  }
  return true;
}

bool Path(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& kind = a.Take();
  s->subkind = kind.value;
  if (s->subkind != "stroke" && s->subkind != "fill" && s->subkind != "strokefill")
    return Args::Fail(ScriptError::UnknownKeyword, f, kind.column);
  if (a.More() && !a.Peek()->setting && a.Peek()->value == "winding") {
    a.Take();
    s->winding = true;
  }
  return PathPoints(a, f, s);
}

bool Font(Args& a, DrawStatement* s, Failure* f) {
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& face = a.Take();
  if (face.kind != TokenKind::Text) return Args::Fail(ScriptError::MissingArgument, f, face.column);
  if (!Utf16Of(face, &s->text, f)) return false;
  while (a.More()) {
    const Token& t = a.Take();
    long long v;
    if (t.setting && (t.name == "device" || t.name == "size" || t.name == "angle")) {
      long long hi = t.name == "device" ? 255 : t.name == "size" ? 65535 : 359;
      if (!Args::ValueNumber(t, t.value, t.name == "angle" ? 0 : 1, hi, &v, f)) return false;
      (t.name == "device" ? s->device : t.name == "size" ? s->size : s->angle) = long(v);
      continue;
    }
    if (t.setting && t.name == "family") {
      if (!Utf16Of(t, &s->family, f)) return false;
      continue;
    }
    if (t.setting && (t.name == "fstype" || t.name == "charset")) {
      if (!Args::ValueNumber(t, t.value, 0, t.name == "fstype" ? 65535 : 255, &v, f)) return false;
      (t.name == "fstype" ? s->fsType : s->charset) = long(v);
      continue;
    }
    if (!t.setting && (t.value == "bold" || t.value == "italic" || t.value == "fixed")) {
      (t.value == "bold" ? s->bold : t.value == "italic" ? s->italic : s->fixedPitch) = true;
      continue;
    }
    return Args::Fail(ScriptError::UnknownOption, f, t.column);
  }
  return true;
}

bool Text(Args& a, DrawStatement* s, Failure* f) {
  long x, y;
  if (!a.Coordinate(&x, f) || !a.Coordinate(&y, f)) return false;
  s->x = x, s->y = y;
  if (!a.More()) return a.Fail(ScriptError::MissingArgument, f);
  const Token& text = a.Take();
  if (text.kind != TokenKind::Text) return Args::Fail(ScriptError::MissingArgument, f, text.column);
  if (!Utf16Of(text, &s->text, f)) return false;
  while (a.More()) {
    const Token& t = a.Take();
    if (!t.setting && (t.value == "glyphindex" || t.value == "vertical")) {
      (t.value == "glyphindex" ? s->glyphIndex : s->vertical) = true;
      continue;
    }
    if (t.setting && t.name == "fixed") {
      long long v;
      if (!Args::ValueNumber(t, t.value, 1, 32767, &v, f)) return false;
      s->charInc = long(v);
      continue;
    }
    if (!t.setting && t.value == "opaque") {
      if (!a.Rect(&s->opaque, f)) return false;
      s->hasOpaque = true;
      continue;
    }
    if (!t.setting && t.value == "extra") {
      std::vector<long> coords;
      while (a.More() && a.Peek()->kind == TokenKind::Bare && !a.Peek()->setting) {
        long long n;
        if (!ParseNumber(a.Peek()->value, &n)) break;
        long v;
        if (!a.Coordinate(&v, f)) return false;
        coords.push_back(v);
      }
      for (size_t i = 0; i + 4 <= coords.size(); i += 4)
        s->rects.push_back(DrawRect{coords[i], coords[i + 1], coords[i + 2], coords[i + 3]});
      continue;
    }
    return Args::Fail(ScriptError::UnknownOption, f, t.column);
  }
  return true;
}

struct Keyword {
  const char* word;
  DrawKind kind;
};
const Keyword kKeywords[] = {
    {"devmode", DrawKind::Devmode}, {"doc", DrawKind::Doc},         {"enddoc", DrawKind::EndDoc},
    {"page", DrawKind::Page},       {"endpage", DrawKind::EndPage}, {"reset", DrawKind::Reset},
    {"escape", DrawKind::Escape},   {"clip", DrawKind::Clip},       {"brush", DrawKind::Brush},
    {"pen", DrawKind::Pen},         {"rect", DrawKind::Rect},       {"image", DrawKind::Image},
    {"path", DrawKind::Path},       {"font", DrawKind::Font},       {"text", DrawKind::Text},
};

bool Statement(const std::vector<Token>& tokens, int lineLength, DrawStatement* s, Failure* f) {
  const Token& first = tokens[0];
  bool found = false;
  for (const Keyword& k : kKeywords)
    if (first.kind == TokenKind::Bare && !first.setting && first.value == k.word) {
      s->kind = k.kind;
      found = true;
    }
  if (!found) return Args::Fail(ScriptError::UnknownStatement, f, first.column);
  s->keyword = first.value;
  Args a(tokens, lineLength);
  switch (s->kind) {
    case DrawKind::Devmode:
    case DrawKind::Reset:
      return Settings(a, s, f);
    case DrawKind::Doc:
      return Doc(a, s, f);
    case DrawKind::EndDoc:
    case DrawKind::Page:
    case DrawKind::EndPage:
      return a.End(f);
    case DrawKind::Escape:
      return Escape(a, s, f);
    case DrawKind::Clip:
      return Clip(a, s, f);
    case DrawKind::Brush:
      return Brush(a, s, f);
    case DrawKind::Pen:
      return Pen(a, s, f);
    case DrawKind::Rect: {
      DrawRect r;
      if (!a.Rect(&r, f)) return false;
      s->rects.push_back(r);
      if (a.More()) {
        const Token& t = a.Take();
        long long v;
        if (!t.setting || t.name != "rop") return Args::Fail(ScriptError::UnknownOption, f, t.column);
        if (!Args::ValueNumber(t, t.value, 0, 0xFFFF, &v, f)) return false;
        s->rop = uint32_t(v);
      }
      return a.End(f);
    }
    case DrawKind::Image:
      return Image(a, s, f);
    case DrawKind::Path:
      return Path(a, s, f);
    case DrawKind::Font:
      return Font(a, s, f);
    case DrawKind::Text:
      return Text(a, s, f);
  }
  return false;
}

}  // namespace

const char* ScriptErrorMessage(ScriptError error) {
  size_t i = size_t(error);
  return i < sizeof(kMessages) / sizeof(kMessages[0]) ? kMessages[i] : "unknown error";
}

ScriptResult ReadDrawScript(const char* data, size_t size) {
  ScriptResult result;
  size_t at = 0;
  int lineNumber = 0;
  while (at < size) {
    ++lineNumber;
    const void* nl = memchr(data + at, '\n', size - at);
    size_t end = nl ? size_t(static_cast<const char*>(nl) - data) : size;
    size_t length = end - at;
    const char* line = data + at;
    at = nl ? end + 1 : size;
    if (length && line[length - 1] == '\r') --length;
    if (lineNumber == 1 && length >= 3 && memcmp(line, "\xEF\xBB\xBF", 3) == 0) {
      line += 3;  // a UTF-8 byte-order mark
      length -= 3;
    }
    Failure f = {ScriptError::None, 0};
    if (length > kScriptMaxStatementBytes) {
      f = {ScriptError::StatementTooLong, 1};
    } else {
      std::vector<Token> tokens;
      if (Tokenize(line, length, &tokens, &f) && !tokens.empty()) {
        DrawStatement s;
        s.line = lineNumber;
        if (Statement(tokens, int(length), &s, &f)) result.statements.push_back(std::move(s));
      }
    }
    if (f.error != ScriptError::None) {
      result.error = f.error;
      result.line = lineNumber;
      result.column = f.column;
      return result;
    }
  }
  return result;
}

std::string ScriptErrorText(const ScriptResult& result) {
  return "line " + std::to_string(result.line) + ", column " + std::to_string(result.column) + ": " +
         ScriptErrorMessage(result.error);
}

}  // namespace winsim
