// The print session: GDI's side of a print job. It opens the printer, loads the graphics
// driver the spooler names and calls it in GDI's order: driver enable, PDEV, surface, device
// fonts, document, pages (drawn at once, journaled and played, or rendered band by band),
// resets, escapes through the session's DC, and the teardown.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <math.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim/internal.h"
#include "platform/sim_gdi.h"

namespace winsim {

namespace {

constexpr ULONG kPatternCount = 6;  // the hatch brushes GDI asks patterns for

std::string Hex(unsigned long v) {
  char buf[16];
  snprintf(buf, sizeof buf, "0x%lX", v);
  return buf;
}
std::string Bool(BOOL v) { return v ? "TRUE" : "FALSE"; }
std::string RectText(const RECTL& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

RECTL Intersect(const RECTL& a, const RECTL& b) {
  RECTL r = {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
             a.bottom < b.bottom ? a.bottom : b.bottom};
  return r;
}
bool Empty(const RECTL& r) { return r.left >= r.right || r.top >= r.bottom; }

// One PDEV with its device handle and surface.
struct Device {
  DHPDEV pdev = nullptr;
  HDEV hdev = nullptr;
  HSURF surface = nullptr;
  SURFOBJ* so = nullptr;
  GDIINFO gdi = {};
  DEVINFO info = {};
  bool banding = false;
  FLONG hooks = 0;
  // Per device font (face 1..n): its glyph set and units per em, as the driver answered.
  std::vector<const FD_GLYPHSET*> glyphSets;
  std::vector<LONG> unitsPerEm;
  std::vector<IFIMETRICS*> metrics;  // as DrvQueryFont answered, for FONTOBJ_pifi
};

// The device font a text statement draws with: its face and notional-to-device transform.
struct DeviceFontChoice {
  ULONG face = 0;
  XFORML xform = {1, 0, 0, 1, 0, 0};
  const DrawStatement* engine = nullptr;  // a font of the engine: its statement (face 0)
};

// A drawing call kept for playing later (journal or bands).
struct Draw {
  RECTL rect;
  ULONG rop;
  ULONG colour;  // the brush's colour index on the device
  bool clipped;
  RECTL clip;
  const DrawStatement* image;  // an image statement's bitmap, played with its source, or null
  const DrawStatement* brush = nullptr;  // a hatch or pattern brush statement (else the solid colour)
  const DrawStatement* region = nullptr;  // a clip of rectangles or a path (else clip)
  const DrawStatement* path = nullptr;  // a path statement, drawn with pen
  const DrawStatement* pen = nullptr;
  const DrawStatement* text = nullptr;  // a text statement in a device font, or null
  DeviceFontChoice font;
};

// The engine objects of one drawing call, deleted with it.
struct CallObjects {
  BRUSHOBJ* brush = nullptr;
  CLIPOBJ* region = nullptr;
  PATHOBJ* path = nullptr;
  PATHOBJ* clipPath = nullptr;
  HSURF pattern = nullptr;
  SURFOBJ* patternSo = nullptr;
  XLATEOBJ xlate = {};
  ULONG table[2] = {};
  std::vector<FLOAT_LONG> style;
  LINEATTRS la = {};
  ~CallObjects() {
    if (brush) SimGdiDeleteBrush(brush);
    if (region) SimGdiDeleteClip(region);
    if (path) EngDeletePath(path);
    if (clipPath) EngDeletePath(clipPath);
    if (patternSo) EngUnlockSurface(patternSo);
    if (pattern) EngDeleteSurface(pattern);
  }
};

// A path statement's points moved by -origin, in 28.4.
PATHOBJ* MakePath(const DrawStatement& s, POINTL origin) {
  std::vector<POINTFIX> points;
  for (size_t i = 0; i + 1 < s.points.size(); i += 2)
    points.push_back(POINTFIX{FIX((s.points[i] - origin.x) * 16), FIX((s.points[i + 1] - origin.y) * 16)});
  return SimGdiCreatePath(points.data(), s.pointKinds.data(), ULONG(points.size()), 0);
}

// The bounds of a path statement's points, widened by margin.
RECTL PathBounds(const DrawStatement& s, LONG margin) {
  RECTL r = {0, 0, 0, 0};
  for (size_t i = 0; i + 1 < s.points.size(); i += 2) {
    LONG x = LONG(s.points[i]), y = LONG(s.points[i + 1]);
    if (i == 0) r = {x, y, x + 1, y + 1};
    r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
  }
  return RECTL{r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
}

std::string Setting(const DrawStatement* s, const char* name) {
  if (s)
    for (const auto& kv : s->settings)
      if (kv.first == name) return kv.second;
  return "";
}

typedef int(WINAPI* DocumentEventFn)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);

class Session;
std::mutex g_dcLock;
std::map<HDC, Session*> g_sessionDcs;

class Session {
 public:
  Session(const PrintSessionOptions& options, PrintSessionResult* result) : o_(options), r_(result) {}
  ~Session() { Close(); }

  bool Run(const std::vector<DrawStatement>& statements);
  ULONG Escape(ULONG code, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out) {
    if (!device_.pdev || !Has(INDEX_DrvEscape)) return 0;
    ULONG result = Fn<PFN_DrvEscape>(INDEX_DrvEscape)(device_.so, code, cbIn, in, cbOut, out);
    Trace("DrvEscape " + std::to_string(code) + " in=" + std::to_string(cbIn) + " out=" + std::to_string(cbOut),
          std::to_string(result));
    return result;
  }

 private:
  template <class F>
  F Fn(ULONG index) const {
    for (ULONG i = 0; i < table_.c; ++i)
      if (table_.pdrvfn[i].iFunc == index) return DdiFunctionCast<F>(table_.pdrvfn[i].pfn);
    return nullptr;
  }
  bool Has(ULONG index) const { return Fn<PFN>(index) != nullptr; }
  void Trace(const std::string& call, const std::string& result) { r_->trace.push_back(call + " -> " + result); }
  bool Fail(const DrawStatement* s, const std::string& message) {
    r_->error = s ? "line " + std::to_string(s->line) + ": " + message : message;
    return false;
  }

  bool Open(const DrawStatement* s);
  // The configuration DLL's DrvDocumentEvent at the stages where gdi32 calls it; 1 when the
  // driver has none.
  int DocumentEvent(int event, const char* name);
  bool EditDevmode(const std::vector<std::pair<std::string, std::string>>& settings, std::vector<BYTE>* dm,
                   const DrawStatement* s);
  bool EnableDevice(const std::vector<BYTE>& dm, Device* d, const DrawStatement* s);
  void DisableDevice(Device* d);
  bool EnsureDevice(const DrawStatement* s);
  bool Keep(Draw draw, const DrawStatement* s);
  bool StartPage(const DrawStatement* s);
  bool EndPage(const DrawStatement* s);
  bool EndDoc(const DrawStatement* s);
  bool Reset(const DrawStatement* s);
  bool Play(const Draw& draw, SURFOBJ* target, POINTL origin, const RECTL* band, const DrawStatement* s);
  bool PlayImage(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, RECTL* rect, const DrawStatement* s);
  bool PlayPath(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, POINTL origin, CallObjects* o,
                const DrawStatement* s);
  BRUSHOBJ* MakeBrush(const Draw& draw, CallObjects* o);
  bool PlayText(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, POINTL origin, const DrawStatement* s);
  bool PlayEngineText(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, POINTL origin, const DrawStatement* s);
  bool PlayBands(const DrawStatement* s);
  void QueryDeviceFonts(Device* d);
  bool SelectFont(const DrawStatement* s);
  ULONG DeviceColour(uint32_t rgb) const;
  void Close();

  const PrintSessionOptions& o_;
  PrintSessionResult* r_;
  HANDLE printer_ = nullptr;
  HMODULE module_ = nullptr;
  HMODULE configModule_ = nullptr;  // the printer interface DLL, for its document events
  DocumentEventFn documentEvent_ = nullptr;
  DRVENABLEDATA table_ = {};
  bool driverEnabled_ = false;
  std::vector<BYTE> dm_;
  Device device_;
  HDC dc_ = nullptr;
  bool docOpen_ = false;
  bool pageOpen_ = false;
  bool skipPage_ = false;
  bool pageStarted_ = false;  // DrvStartPage was called for the open page
  std::vector<Draw> page_;
  bool clipped_ = false;
  RECTL clip_ = {};
  const DrawStatement* region_ = nullptr;
  bool brush_ = true;
  uint32_t colour_ = 0x000000;
  const DrawStatement* brushStatement_ = nullptr;
  const DrawStatement* pen_ = nullptr;
  DeviceFontChoice font_;  // face 0: no device font selected
};

bool Session::Open(const DrawStatement* s) {
  if (!OpenPrinterW(const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(o_.printer.c_str())), &printer_, nullptr))
    return Fail(s, "no printer \"" + ToUtf8(reinterpret_cast<const WCHAR*>(o_.printer.c_str())) + "\"");
  PFN_DrvEnableDriver enable = o_.driver;
  if (!enable) {
    DWORD needed = 0;
    GetPrinterDriverW(printer_, nullptr, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!GetPrinterDriverW(printer_, nullptr, 2, buffer.data(), needed, &needed))
      return Fail(s, "the spooler names no driver for the printer");
    const DRIVER_INFO_2W* driver = reinterpret_cast<const DRIVER_INFO_2W*>(buffer.data());
    module_ = LoadLibraryW(driver->pDriverPath);
    if (!module_) return Fail(s, "the graphics driver " + ToUtf8(driver->pDriverPath) + " does not load");
    auto query = DdiFunctionCast<PFN_DrvQueryDriverInfo>(GetProcAddress(module_, "DrvQueryDriverInfo"));
    enable = DdiFunctionCast<PFN_DrvEnableDriver>(GetProcAddress(module_, "DrvEnableDriver"));
    if (!query || !enable) return Fail(s, "the graphics driver lacks DrvQueryDriverInfo or DrvEnableDriver");
    DWORD userMode = 0, cb = 0;
    BOOL ok = query(DRVQUERY_USERMODE, &userMode, sizeof userMode, &cb);
    Trace("DrvQueryDriverInfo DRVQUERY_USERMODE", Bool(ok) + " " + std::to_string(userMode));
    if (!ok || userMode != 1) return Fail(s, "the graphics driver does not run in user mode");
    // GDI also loads the printer interface DLL, which it tells about the job's stages.
    if (driver->pConfigFile) configModule_ = LoadLibraryW(driver->pConfigFile);
    if (configModule_)
      documentEvent_ = reinterpret_cast<DocumentEventFn>(
          reinterpret_cast<void*>(GetProcAddress(configModule_, "DrvDocumentEvent")));
  }
  BOOL ok = enable(DDI_DRIVER_VERSION_NT5, sizeof table_, &table_);
  Trace("DrvEnableDriver " + Hex(DDI_DRIVER_VERSION_NT5), Bool(ok) + " " + std::to_string(table_.c) + " functions");
  if (!ok) return Fail(s, "DrvEnableDriver failed");
  driverEnabled_ = true;
  if (!Has(INDEX_DrvEnablePDEV) || !Has(INDEX_DrvCompletePDEV) || !Has(INDEX_DrvDisablePDEV) ||
      !Has(INDEX_DrvEnableSurface) || !Has(INDEX_DrvDisableSurface))
    return Fail(s, "the driver's table lacks a function every driver must have");

  // The job DEVMODE starts as the printer's.
  DWORD needed = 0;
  GetPrinterW(printer_, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed ? needed : 1);
  if (needed && GetPrinterW(printer_, 2, info.data(), needed, &needed)) {
    const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode;
    if (dm)
      dm_.assign(reinterpret_cast<const BYTE*>(dm), reinterpret_cast<const BYTE*>(dm) + dm->dmSize + dm->dmDriverExtra);
  }
  return o_.settings.empty() || EditDevmode(o_.settings, &dm_, s);
}

bool Session::EditDevmode(const std::vector<std::pair<std::string, std::string>>& settings, std::vector<BYTE>* dm,
                          const DrawStatement* s) {
  std::string error;
  if (o_.editDevmode) {
    if (!o_.editDevmode(o_.editorContext, printer_, settings, dm, &error)) return Fail(s, error);
    return true;
  }
  if (dm->size() < offsetof(DEVMODEW, dmFields) + 4) return Fail(s, "the printer has no DEVMODE to change");
  for (const auto& setting : settings)
    if (!SetPublicDevmodeField(reinterpret_cast<DEVMODEW*>(dm->data()), setting.first, setting.second))
      return Fail(s, "no public DEVMODE field " + setting.first + " of the value " + setting.second);
  return true;
}

// CreateDC's part: DrvEnablePDEV with the job DEVMODE in a buffer of exactly its size,
// DrvCompletePDEV, DrvEnableSurface and the device-font queries.
bool Session::EnableDevice(const std::vector<BYTE>& dm, Device* d, const DrawStatement* s) {
  if (!dm.empty()) {
    const DEVMODEW* h = reinterpret_cast<const DEVMODEW*>(dm.data());
    if (dm.size() < offsetof(DEVMODEW, dmFields) + 4 || size_t(h->dmSize) + h->dmDriverExtra != dm.size())
      return Fail(s, "the job DEVMODE does not hold what its header claims");
  }
  std::vector<BYTE> copy(dm);
  d->hdev = SimGdiCreateDevice();
  HSURF patterns[kPatternCount];
  d->pdev = Fn<PFN_DrvEnablePDEV>(INDEX_DrvEnablePDEV)(
      copy.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(copy.data()), nullptr, kPatternCount, patterns,
      sizeof d->gdi, reinterpret_cast<ULONG*>(&d->gdi), sizeof d->info, &d->info, d->hdev,
      const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(o_.printer.c_str())), printer_);
  Trace("DrvEnablePDEV", d->pdev ? "PDEV" : "NULL");
  if (!d->pdev) return Fail(s, "DrvEnablePDEV failed (last error " + std::to_string(GetLastError()) + ")");
  SimGdiBindDevice(d->hdev, d->pdev);
  Fn<PFN_DrvCompletePDEV>(INDEX_DrvCompletePDEV)(d->pdev, d->hdev);
  Trace("DrvCompletePDEV", "done");
  if (!r_->haveInfo) {
    r_->haveInfo = true;
    r_->gdi = d->gdi;
    r_->devInfo = d->info;
    ULONG count = 0, colours[256];
    if (SimGdiGetPalette(d->info.hpalDefault, &r_->paletteMode, colours, 256, &count))
      r_->paletteColours.assign(colours, colours + (count < 256 ? count : 256));
  }
  d->surface = Fn<PFN_DrvEnableSurface>(INDEX_DrvEnableSurface)(d->pdev);
  Trace("DrvEnableSurface", d->surface ? "surface" : "NULL");
  if (!d->surface) return Fail(s, "DrvEnableSurface failed");
  SimGdiSurfaceInfo info = {};
  if (!SimGdiGetSurfaceInfo(d->surface, &info) || !info.associated)
    return Fail(s, "the driver's surface is not associated with its device");
  d->banding = info.banding;
  d->hooks = info.hooks;
  d->so = EngLockSurface(d->surface);
  if (d->hooks & HOOK_BITBLT) SimGdiSetDeviceBlt(d->hdev, Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt));
  if (Has(INDEX_DrvCopyBits)) SimGdiSetDeviceCopyBits(d->hdev, Fn<PFN_DrvCopyBits>(INDEX_DrvCopyBits));
  QueryDeviceFonts(d);
  return true;
}

// What GDI asks of each device font DEVINFO announces: its metrics, its glyph set and its
// kerning pairs. The driver's answers stay valid while its PDEV lives.
void Session::QueryDeviceFonts(Device* d) {
  // A driver's count is taken up to what a font index of GDI's text calls can name.
  ULONG faces = d->info.cFonts < 0x10000 ? d->info.cFonts : 0x10000;
  d->glyphSets.assign(faces, nullptr);
  d->unitsPerEm.assign(faces, 0);
  d->metrics.assign(faces, nullptr);
  for (ULONG face = 1; face <= faces && Has(INDEX_DrvQueryFont); ++face) {
    ULONG_PTR id = 0;
    IFIMETRICS* metrics = Fn<PFN_DrvQueryFont>(INDEX_DrvQueryFont)(d->pdev, 0, face, &id);
    Trace("DrvQueryFont " + std::to_string(face), metrics ? "metrics" : "NULL");
    if (metrics) d->unitsPerEm[face - 1] = metrics->fwdUnitsPerEm;
    d->metrics[face - 1] = metrics;
    if (!Has(INDEX_DrvQueryFontTree)) continue;
    auto tree = Fn<PFN_DrvQueryFontTree>(INDEX_DrvQueryFontTree);
    const FD_GLYPHSET* set = static_cast<const FD_GLYPHSET*>(tree(d->pdev, 0, face, QFT_GLYPHSET, &id));
    d->glyphSets[face - 1] = set;
    Trace("DrvQueryFontTree " + std::to_string(face) + " glyph set",
          set ? std::to_string(set->cGlyphsSupported) + " glyphs in " + std::to_string(set->cRuns) + " runs" : "NULL");
    const FD_KERNINGPAIR* pairs = static_cast<const FD_KERNINGPAIR*>(tree(d->pdev, 0, face, QFT_KERNPAIRS, &id));
    size_t count = 0;
    // The list ends with a pair of zeros; one without its end mark is not read past 65,536.
    while (pairs && count < 0x10000 && (pairs[count].wcFirst || pairs[count].wcSecond || pairs[count].fwdKern))
      ++count;
    Trace("DrvQueryFontTree " + std::to_string(face) + " kerning pairs", pairs ? std::to_string(count) : "NULL");
  }
}

// font device=N: GDI realises the driver's font N at the statement's size and angle (its
// glyph mode and extents) for the text statements that follow.
bool Session::SelectFont(const DrawStatement* s) {
  if (!s->device) {
    // One of the engine's outline fonts, 1000 units to the em.
    double k = s->size ? s->size / 1000.0 : 1.0, a = s->angle * 3.14159265358979323846 / 180;
    double c = fabs(cos(a)) < 1e-9 ? 0 : cos(a), sn = fabs(sin(a)) < 1e-9 ? 0 : sin(a);
    font_ = DeviceFontChoice();
    font_.xform = {FLOATL(k * c), FLOATL(-k * sn), FLOATL(k * sn), FLOATL(k * c), 0, 0};
    font_.engine = s;
    return true;
  }
  if (!EnsureDevice(s)) return false;
  if (ULONG(s->device) > device_.glyphSets.size())
    return Fail(s, "font device=" + std::to_string(s->device) + ": the driver announces " +
                       std::to_string(device_.info.cFonts) + " device fonts");
  LONG units = device_.unitsPerEm[s->device - 1];
  double k = s->size && units > 0 ? double(s->size) / units : 1.0;
  double a = s->angle * 3.14159265358979323846 / 180;
  // Notional space has y down as the device has (an upright font's eM22 is positive, a mirrored
  // one's negative); the angle turns the baseline counter-clockwise.
  double c = fabs(cos(a)) < 1e-9 ? 0 : cos(a), sn = fabs(sin(a)) < 1e-9 ? 0 : sin(a);
  font_ = DeviceFontChoice();
  font_.face = ULONG(s->device);
  font_.xform = {FLOATL(k * c), FLOATL(-k * sn), FLOATL(k * sn), FLOATL(k * c), 0, 0};
  FONTOBJ* fo = SimGdiCreateFont(font_.face, &font_.xform);
  if (Has(INDEX_DrvGetGlyphMode))
    Trace("DrvGetGlyphMode " + std::to_string(font_.face),
          std::to_string(Fn<PFN_DrvGetGlyphMode>(INDEX_DrvGetGlyphMode)(device_.pdev, fo)));
  if (Has(INDEX_DrvQueryFontData)) {
    auto data = Fn<PFN_DrvQueryFontData>(INDEX_DrvQueryFontData);
    FD_DEVICEMETRICS m = {};
    LONG size = data(device_.pdev, fo, QFD_MAXEXTENTS, 0, nullptr, nullptr, 0);
    LONG got = size == LONG(sizeof m) ? data(device_.pdev, fo, QFD_MAXEXTENTS, 0, nullptr, &m, sizeof m) : size;
    Trace("DrvQueryFontData " + std::to_string(font_.face) + " max extents",
          std::to_string(got) + (got == LONG(sizeof m) ? " cxMax " + std::to_string(m.cxMax) + " ascender " +
                                                             std::to_string(m.fxMaxAscender) + " descender " +
                                                             std::to_string(m.fxMaxDescender)
                                                       : ""));
  }
  SimGdiDeleteFont(fo);
  return true;
}

// A text statement in one of the engine's outline fonts: the engine lays it out by the font's
// advances and hands it to DrvTextOut when the driver hooks text, else draws it itself.
bool Session::PlayEngineText(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, POINTL origin, const DrawStatement* s) {
  const DrawStatement* f = draw.font.engine;
  static const std::u16string kMono = u"Sim Mono";
  SimOutlineFontSpec spec = {reinterpret_cast<const WCHAR*>(f->family.empty() ? f->text.c_str() : f->family.c_str()),
                             reinterpret_cast<const WCHAR*>(f->text.c_str()),
                             f->fixedPitch || f->text == kMono,
                             USHORT(f->fsType),
                             BYTE(f->charset),
                             0,
                             FLONG((f->bold ? FO_SIM_BOLD : 0) | (f->italic ? FO_SIM_ITALIC : 0))};
  FONTOBJ* font = SimGdiCreateOutlineFont(&spec, &draw.font.xform);
  if (!font) return Fail(s, "the engine could not realise the font");
  const DrawStatement* t = draw.text;
  FLONG accel = t->vertical ? SO_VERTICAL : draw.font.xform.eM12 == 0 ? SO_HORIZONTAL : 0;
  if (t->glyphIndex) accel |= SO_GLYPHINDEX_TEXTOUT;
  if (t->charInc) accel |= SO_FLAG_DEFAULT_PLACEMENT;
  // Vertical text steps down by the em, as a vertical font's glyphs would.
  std::vector<POINTL> positions;
  LONG em = LONG(lround(1000 * hypot(draw.font.xform.eM21, draw.font.xform.eM22)));
  for (size_t i = 0; t->vertical && i < t->text.size(); ++i)
    positions.push_back(POINTL{t->x - origin.x, LONG(t->y - origin.y + LONG(i) * (t->charInc ? t->charInc : em))});
  SimStringSpec str = {reinterpret_cast<const WCHAR*>(t->text.c_str()), ULONG(t->text.size()),
                       POINTL{t->x - origin.x, t->y - origin.y}, positions.empty() ? nullptr : positions.data(),
                       accel, ULONG(t->charInc), 0, TRUE};
  STROBJ* so = SimGdiCreateString(font, &str);
  RECTL opaque = {t->opaque.left - origin.x, t->opaque.top - origin.y, t->opaque.right - origin.x,
                  t->opaque.bottom - origin.y};
  std::vector<RECTL> extra;
  for (const DrawRect& r : t->rects)
    extra.push_back(RECTL{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y});
  if (!extra.empty()) extra.push_back(RECTL{0, 0, 0, 0});
  BRUSHOBJ fore = {draw.colour, nullptr, 0}, white = {0xFFFFFF, nullptr, 0};
  POINTL zero = {0, 0};
  bool hooked = (device_.hooks & HOOK_TEXTOUT) != 0;
  BOOL ok = so && (hooked ? Fn<PFN_DrvTextOut>(INDEX_DrvTextOut)
                          : PFN_DrvTextOut(EngTextOut))(target, so, font, clip, extra.empty() ? nullptr : extra.data(),
                                                        t->hasOpaque ? &opaque : nullptr, &fore,
                                                        t->hasOpaque ? &white : nullptr, &zero, 0x0D0D);
  std::string face;
  for (char16_t c : f->text) face += c >= 0x20 && c < 0x7F ? char(c) : '?';
  if (hooked)
    Trace("DrvTextOut \"" + face + "\" " + std::to_string(t->text.size()) +
              " glyphs at " + std::to_string(t->x - origin.x) + "," + std::to_string(t->y - origin.y),
          Bool(ok));
  SimGdiDeleteString(so);
  SimGdiDeleteFont(font);
  return ok ? true : Fail(s, "the text call failed");
}

// A text statement in a device font: the characters become the glyph set's handles (the
// font's default character where the set has none), each placed by the advance the driver
// gives for it, then DrvTextOut.
bool Session::PlayText(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, POINTL origin, const DrawStatement* s) {
  const std::u16string& text = draw.text->text;
  const FD_GLYPHSET* set = device_.glyphSets.size() >= draw.font.face ? device_.glyphSets[draw.font.face - 1] : nullptr;
  if (!set) return Fail(s, "the device font has no glyph set");
  auto handleOf = [set](WCHAR c, HGLYPH* hg) {
    for (ULONG r = 0; r < set->cRuns; ++r) {
      const WCRUN& run = set->awcrun[r];
      if (c >= run.wcLow && ULONG(c) < ULONG(run.wcLow) + run.cGlyphs) return *hg = run.phg[c - run.wcLow], true;
    }
    return false;
  };
  std::vector<HGLYPH> handles(text.size(), 0);
  for (size_t i = 0; i < text.size(); ++i)
    if (!handleOf(WCHAR(text[i]), &handles[i])) handleOf(WCHAR(0x30FB), &handles[i]);
  FONTOBJ* fo = SimGdiCreateFont(draw.font.face, &draw.font.xform);
  std::vector<USHORT> widths(text.size(), 0);
  BOOL ok = Has(INDEX_DrvQueryAdvanceWidths) && !text.empty()
                ? Fn<PFN_DrvQueryAdvanceWidths>(INDEX_DrvQueryAdvanceWidths)(
                      device_.pdev, fo, QAW_GETWIDTHS, handles.data(), widths.data(), ULONG(text.size()))
                : TRUE;
  std::string advances;
  for (USHORT w : widths) advances += (advances.empty() ? "" : ",") + std::to_string(w);
  Trace("DrvQueryAdvanceWidths " + std::to_string(text.size()) + " glyphs", Bool(ok) + " " + advances);
  // Each glyph's position: the pen moves by the glyph's advance vector (28.4).
  std::vector<GLYPHPOS> positions(text.size());
  long long penX = (long long)(draw.text->x - origin.x) * 16, penY = (long long)(draw.text->y - origin.y) * 16;
  for (size_t i = 0; ok && i < text.size(); ++i) {
    positions[i] = {handles[i], nullptr, {LONG(penX >> 4), LONG(penY >> 4)}};
    GLYPHDATA glyph = {};
    LONG r = Has(INDEX_DrvQueryFontData) ? Fn<PFN_DrvQueryFontData>(INDEX_DrvQueryFontData)(
                                               device_.pdev, fo, QFD_GLYPHANDBITMAP, handles[i], &glyph, nullptr, 0)
                                         : LONG(FD_ERROR);
    if (r == LONG(FD_ERROR)) ok = FALSE;
    penX += glyph.ptqD.x.u.HighPart;
    penY += glyph.ptqD.y.u.HighPart;
  }
  SimGdiDeleteFont(fo);
  if (!ok) return Fail(s, "the driver could not lay out the text");
  STROBJ str = {};
  str.cGlyphs = ULONG(text.size());
  str.flAccel = draw.font.xform.eM12 == 0 ? SO_HORIZONTAL : 0;
  str.pgp = positions.data();
  str.pwszOrg = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(text.c_str()));
  LONG left = draw.text->x - origin.x, top = draw.text->y - origin.y;
  str.rclBkGround = {left < LONG(penX >> 4) ? left : LONG(penX >> 4), top, left > LONG(penX >> 4) ? left : LONG(penX >> 4),
                     top + 1};
  if (!(device_.hooks & HOOK_TEXTOUT)) return true;
  FONTOBJ* drawn = SimGdiCreateFont(draw.font.face, &draw.font.xform);
  SimGdiSetFontMetrics(drawn, device_.metrics.size() >= draw.font.face ? device_.metrics[draw.font.face - 1] : nullptr);
  BRUSHOBJ fore = {draw.colour, nullptr, 0};
  ok = Fn<PFN_DrvTextOut>(INDEX_DrvTextOut)(target, &str, drawn, clip, nullptr, nullptr, &fore, nullptr, nullptr,
                                            0x0D0D);
  SimGdiDeleteFont(drawn);
  std::string placed;
  for (const GLYPHPOS& p : positions)
    placed += (placed.empty() ? "" : " ") + std::to_string(p.ptl.x) + "," + std::to_string(p.ptl.y);
  Trace("DrvTextOut device font " + std::to_string(draw.font.face) + " at " + placed, Bool(ok));
  return ok ? true : Fail(s, "the text call failed");
}

void Session::DisableDevice(Device* d) {
  if (d->so) EngUnlockSurface(d->so);
  d->so = nullptr;
  if (d->pdev) {
    Fn<PFN_DrvDisableSurface>(INDEX_DrvDisableSurface)(d->pdev);
    Trace("DrvDisableSurface", "done");
    Fn<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(d->pdev);
    Trace("DrvDisablePDEV", "done");
  }
  if (d->hdev) {
    SimGdiSetDeviceBlt(d->hdev, nullptr);
    SimGdiSetDeviceCopyBits(d->hdev, nullptr);
    SimGdiDeleteDevice(d->hdev);
  }
  *d = Device();
}

int Session::DocumentEvent(int event, const char* name) {
  if (!documentEvent_) return 1;
  const int result = documentEvent_(printer_, dc_, event, 0, nullptr, 0, nullptr);
  Trace(std::string("DrvDocumentEvent ") + name, std::to_string(result));
  return result;
}

bool Session::EnsureDevice(const DrawStatement* s) {
  if (device_.pdev) return true;
  if (DocumentEvent(DOCUMENTEVENT_CREATEDCPRE, "CREATEDCPRE") == DOCUMENTEVENT_FAILURE)
    return Fail(s, "the printer interface DLL refused the device context");
  if (!EnableDevice(dm_, &device_, s)) return false;
  {
    std::lock_guard<std::mutex> hold(g_dcLock);
    dc_ = reinterpret_cast<HDC>(this);
    g_sessionDcs[dc_] = this;
  }
  DocumentEvent(DOCUMENTEVENT_CREATEDCPOST, "CREATEDCPOST");
  return true;
}

ULONG Session::DeviceColour(uint32_t rgb) const {
  ULONG mode = 0, count = 0, colours[256];
  if (SimGdiGetPalette(device_.info.hpalDefault, &mode, colours, 256, &count) && mode == PAL_INDEXED && count) {
    // The nearest entry of an indexed palette.
    ULONG best = 0;
    long bestDistance = -1;
    for (ULONG i = 0; i < count && i < 256; ++i) {
      long dr = long((colours[i] >> 16) & 0xFF) - long((rgb >> 16) & 0xFF);
      long dg = long((colours[i] >> 8) & 0xFF) - long((rgb >> 8) & 0xFF);
      long db = long(colours[i] & 0xFF) - long(rgb & 0xFF);
      long distance = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
  }
  // PAL_BGR: red in the low byte.
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

bool Session::Play(const Draw& draw, SURFOBJ* target, POINTL origin, const RECTL* band, const DrawStatement* s) {
  RECTL bounds = {0, 0, LONG(device_.gdi.ulHorzRes), LONG(device_.gdi.ulVertRes)};
  if (band) bounds = Intersect(bounds, *band);
  if (draw.clipped) bounds = Intersect(bounds, draw.clip);
  RECTL area = Intersect(bounds, draw.rect);
  if (Empty(area)) return true;  // GDI does not call the driver for nothing
  CLIPOBJ clip = {};
  clip.iDComplexity = draw.clipped || band ? DC_RECT : DC_TRIVIAL;
  clip.iFComplexity = FC_RECT;
  clip.rclBounds = {bounds.left - origin.x, bounds.top - origin.y, bounds.right - origin.x, bounds.bottom - origin.y};
  RECTL rect = {draw.rect.left - origin.x, draw.rect.top - origin.y, draw.rect.right - origin.x,
                draw.rect.bottom - origin.y};
  CallObjects o;
  CLIPOBJ* use = &clip;
  if (draw.region) {
    // A region of rectangles or a path, cut to the band: its rectangles for the engine, its
    // path (or rectangles) for a driver that sends the clip itself.
    RECTL limit = clip.rclBounds;
    std::vector<RECTL> rects;
    if (draw.region->subkind == "path") {
      o.clipPath = MakePath(*draw.region, origin);
      rects = EngineFillRegion(o.clipPath, false, limit);
    } else {
      for (const DrawRect& r : draw.region->rects) {
        RECTL c = {std::max(LONG(r.left) - origin.x, limit.left), std::max(LONG(r.top) - origin.y, limit.top),
                   std::min(LONG(r.right) - origin.x, limit.right), std::min(LONG(r.bottom) - origin.y, limit.bottom)};
        if (c.left < c.right && c.top < c.bottom) rects.push_back(c);
      }
    }
    if (rects.empty()) return true;
    // The same region keeps its id on a page drawn at once; a band's cut differs from band to band.
    ULONG uniq = band ? 0 : ULONG(draw.region->line);
    o.region = SimGdiCreateClip(DC_COMPLEX, &limit, rects.data(), ULONG(rects.size()), o.clipPath, uniq);
    use = o.region;
  }
  BRUSHOBJ* brush = MakeBrush(draw, &o);
  if (!brush) return Fail(s, "the brush's pattern could not be made");
  POINTL brushOrigin = {-origin.x, -origin.y};
  if (draw.image) return PlayImage(draw, target, use, &rect, s);
  if (draw.path) return PlayPath(draw, target, use, origin, &o, s);
  if (draw.text) return draw.font.engine ? PlayEngineText(draw, target, use, origin, s) : PlayText(draw, target, use, origin, s);
  BOOL ok;
  if (device_.hooks & HOOK_BITBLT) {
    ok = Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt)(target, nullptr, nullptr, use, nullptr, &rect, nullptr, nullptr, brush,
                                            &brushOrigin, draw.rop);
    Trace("DrvBitBlt " + RectText(rect) + " rop " + Hex(draw.rop) + " colour " + Hex(draw.colour), Bool(ok));
  } else {
    ok = EngBitBlt(target, nullptr, nullptr, use, nullptr, &rect, nullptr, nullptr, brush, &brushOrigin, draw.rop);
  }
  return ok ? true : Fail(s, "the drawing call failed");
}

// The call's brush: the solid colour, or a hatch or pattern GDI realises through the driver.
BRUSHOBJ* Session::MakeBrush(const Draw& draw, CallObjects* o) {
  PFN_DrvRealizeBrush realize = Fn<PFN_DrvRealizeBrush>(INDEX_DrvRealizeBrush);
  const DrawStatement* b = draw.brush;
  if (!b) {
    o->brush = SimGdiCreateBrush(draw.colour, 0, realize, device_.so, nullptr, nullptr, 0xFFFFFFFFu);
    return o->brush;
  }
  o->xlate.flXlate = XO_TABLE;
  o->xlate.iSrcType = PAL_INDEXED;
  o->xlate.cEntries = 2;
  o->xlate.pulXlate = o->table;
  if (b->subkind == "hatch") {
    o->table[0] = DeviceColour(b->colour2);
    o->table[1] = DeviceColour(b->colour);
    o->brush = SimGdiCreateBrush(0xFFFFFFFFu, 0, realize, device_.so, nullptr, &o->xlate, ULONG(b->number));
    return o->brush;
  }
  SIZEL size = {LONG(b->width), LONG(b->height)};
  ULONG format = b->bpp == 1 ? BMF_1BPP : b->bpp == 4 ? BMF_4BPP : b->bpp == 8 ? BMF_8BPP
               : b->bpp == 16 ? BMF_16BPP : b->bpp == 24 ? BMF_24BPP : BMF_32BPP;
  HBITMAP bitmap = EngCreateBitmap(size, 0, format, BMF_TOPDOWN, const_cast<char*>(b->image.data()));
  if (!bitmap) return nullptr;
  o->pattern = reinterpret_cast<HSURF>(bitmap);
  o->patternSo = EngLockSurface(o->pattern);
  if (b->bpp == 1) {
    o->table[0] = DeviceColour(0x000000);
    o->table[1] = DeviceColour(0xFFFFFF);
  } else {
    o->xlate.flXlate = 0;
    o->xlate.iSrcType = PAL_RGB;
    o->xlate.iDstType = PAL_BGR;
    o->xlate.pulXlate = nullptr;
    o->xlate.cEntries = 0;
  }
  o->brush = SimGdiCreateBrush(0xFFFFFFFFu, 0, realize, device_.so, o->patternSo, &o->xlate, 0xFFFFFFFFu);
  return o->brush;
}

// A path with the pen and brush: to the driver when it hooks the call, the engine otherwise or
// when the driver declines it (FALSE), as GDI breaks a path down.
bool Session::PlayPath(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, POINTL origin, CallObjects* o,
                       const DrawStatement* s) {
  const DrawStatement& p = *draw.path;
  o->path = MakePath(p, origin);
  BRUSHOBJ* brush = o->brush;
  BRUSHOBJ* stroke = brush;
  CallObjects strokeObjects;
  if (p.subkind != "fill" && draw.brush) {
    // A pen is solid: it draws in the last solid colour.
    Draw solid = draw;
    solid.brush = nullptr;
    stroke = MakeBrush(solid, &strokeObjects);
  }
  LINEATTRS& la = o->la;
  std::string width = Setting(draw.pen, "width"), style = Setting(draw.pen, "style"), cap = Setting(draw.pen, "cap"),
              join = Setting(draw.pen, "join"), miter = Setting(draw.pen, "miter");
  bool geometric = Setting(draw.pen, "geometric") == "1";
  la.fl = geometric ? LA_GEOMETRIC : 0;
  la.elWidth.e = width.empty() ? 1.0f : float(atof(width.c_str()));
  la.iEndCap = cap == "butt" ? ENDCAP_BUTT : cap == "square" ? ENDCAP_SQUARE : ENDCAP_ROUND;
  la.iJoin = join == "bevel" ? JOIN_BEVEL : join == "miter" ? JOIN_MITER : JOIN_ROUND;
  la.eMiterLimit = miter.empty() ? 10.0f : float(atof(miter.c_str()));
  for (size_t at = 0; !style.empty() && at <= style.size();) {
    size_t comma = style.find(',', at);
    std::string entry = style.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    FLOAT_LONG v;
    if (geometric) v.e = float(atof(entry.c_str()));
    else v.l = atol(entry.c_str());
    o->style.push_back(v);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  if (!o->style.empty()) {
    la.fl |= geometric ? 0 : LA_STYLED;
    la.cstyle = ULONG(o->style.size());
    la.pstyle = o->style.data();
  }
  XFORMOBJ* xform = SimGdiCreateXform(nullptr);
  POINTL brushOrigin = {-origin.x, -origin.y};
  FLONG fill = p.winding ? FP_WINDINGMODE : FP_ALTERNATEMODE;
  MIX mix = 0x0D0D;
  BOOL ok = FALSE;
  std::string call;
  if (p.subkind == "stroke") {
    call = "DrvStrokePath";
    ok = device_.hooks & HOOK_STROKEPATH
             ? Fn<PFN_DrvStrokePath>(INDEX_DrvStrokePath)(target, o->path, clip, xform, stroke, &brushOrigin, &la, mix)
             : EngStrokePath(target, o->path, clip, xform, stroke, &brushOrigin, &la, mix);
    if (device_.hooks & HOOK_STROKEPATH) Trace(call, Bool(ok));
    if (ok == FALSE && (device_.hooks & HOOK_STROKEPATH))
      ok = EngStrokePath(target, o->path, clip, xform, stroke, &brushOrigin, &la, mix);
  } else if (p.subkind == "fill") {
    call = "DrvFillPath";
    ok = device_.hooks & HOOK_FILLPATH
             ? Fn<PFN_DrvFillPath>(INDEX_DrvFillPath)(target, o->path, clip, brush, &brushOrigin, mix, fill)
             : EngFillPath(target, o->path, clip, brush, &brushOrigin, mix, fill);
    if (device_.hooks & HOOK_FILLPATH) Trace(call, Bool(ok));
    if (ok == FALSE && (device_.hooks & HOOK_FILLPATH))
      ok = EngFillPath(target, o->path, clip, brush, &brushOrigin, mix, fill);
  } else {
    call = "DrvStrokeAndFillPath";
    bool hooked = device_.hooks & HOOK_STROKEANDFILLPATH;
    ok = hooked ? Fn<PFN_DrvStrokeAndFillPath>(INDEX_DrvStrokeAndFillPath)(target, o->path, clip, xform, stroke, &la,
                                                                           brush, &brushOrigin, mix, fill)
                : EngStrokeAndFillPath(target, o->path, clip, xform, stroke, &la, brush, &brushOrigin, mix, fill);
    if (hooked) Trace(call, Bool(ok));
    if (ok == FALSE && hooked)
      ok = EngStrokeAndFillPath(target, o->path, clip, xform, stroke, &la, brush, &brushOrigin, mix, fill);
  }
  SimGdiDeleteXform(xform);
  return ok == TRUE ? true : Fail(s, call + " failed");
}

// The image's bitmap as an engine bitmap over the script's bytes, handed with its XLATEOBJ to
// the driver when it hooks the call, else to the engine.
bool Session::PlayImage(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, RECTL* rect, const DrawStatement* s) {
  const DrawStatement& image = *draw.image;
  SIZEL size = {LONG(image.width), LONG(image.height)};
  ULONG format = image.bpp == 1 ? BMF_1BPP : image.bpp == 4 ? BMF_4BPP : image.bpp == 8 ? BMF_8BPP
                 : image.bpp == 16 ? BMF_16BPP : image.bpp == 24 ? BMF_24BPP : BMF_32BPP;
  // gen= images: a fixed pattern of bytes, so a golden stays stable.
  size_t stride = size_t((image.width * image.bpp + 31) / 32) * 4;
  std::string bits = image.image;
  if (bits.empty()) {
    bits.resize(stride * size_t(image.height));
    for (size_t y = 0; y < size_t(image.height); ++y)
      for (size_t i = 0; i < stride; ++i) bits[y * stride + i] = char((i * 37 + y * 11) & 0xFF);
  }
  HBITMAP bitmap = EngCreateBitmap(size, 0, format, BMF_TOPDOWN, &bits[0]);
  SURFOBJ* source = bitmap ? EngLockSurface(reinterpret_cast<HSURF>(bitmap)) : nullptr;
  if (!source) {
    if (bitmap) EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
    return Fail(s, "the image's bitmap could not be made");
  }
  // Indexed bitmaps get a table into the device's colours: black and white for 1 bpp, a grey
  // ramp (palette=grey) or a colour table for 4 and 8 bpp.
  std::vector<ULONG> table;
  bool grey = Setting(&image, "palette") == "grey";
  if (image.bpp == 1) table = {DeviceColour(0x000000), DeviceColour(0xFFFFFF)};
  ULONG entries = image.bpp == 4 ? 16 : image.bpp == 8 ? 256 : 0;
  for (ULONG i = 0; i < entries; ++i) {
    ULONG m = i * 255 / (entries - 1);
    table.push_back(DeviceColour(grey ? m * 0x010101u : ((m << 16) | ((255 - m) << 8) | ((m * 3) & 0xFF))));
  }
  XLATEOBJ xlate = {};
  if (!table.empty()) {
    xlate.flXlate = XO_TABLE, xlate.iSrcType = PAL_INDEXED, xlate.cEntries = ULONG(table.size());
    xlate.pulXlate = table.data();
  } else {
    xlate.iSrcType = PAL_RGB, xlate.iDstType = PAL_BGR;
  }
  // mask=1: a 1-bpp checker of 8-pixel squares over the source.
  HBITMAP maskBitmap = nullptr;
  SURFOBJ* mask = nullptr;
  std::string maskBits;
  if (Setting(&image, "mask") == "1") {
    size_t maskStride = size_t((image.width + 31) / 32) * 4;
    maskBits.resize(maskStride * size_t(image.height));
    for (size_t y = 0; y < size_t(image.height); ++y)
      for (size_t i = 0; i < maskStride; ++i) maskBits[y * maskStride + i] = char((y / 8) % 2 ? 0x00 : 0xFF);
    maskBitmap = EngCreateBitmap(size, 0, BMF_1BPP, BMF_TOPDOWN, &maskBits[0]);
    mask = maskBitmap ? EngLockSurface(reinterpret_cast<HSURF>(maskBitmap)) : nullptr;
  }
  std::string ropText = Setting(&image, "rop");
  ROP4 rop4 = ropText.empty() ? (mask ? 0xAACC : 0xCCCC) : ROP4(strtoul(ropText.c_str(), nullptr, 16));
  POINTL from = {image.srcX, image.srcY};
  RECTL fromRect = {image.srcX, image.srcY, image.srcX + (image.srcW ? image.srcW : image.width),
                    image.srcY + (image.srcH ? image.srcH : image.height)};
  POINTL maskAt = {0, 0};
  // A stretch to a rectangle given right to left (or bottom to top) mirrors the image.
  RECTL to = *rect;
  const DrawRect& given = image.rects[0];
  if (given.left > given.right && to.left < to.right) std::swap(to.left, to.right);
  if (given.top > given.bottom && to.top < to.bottom) std::swap(to.top, to.bottom);
  BOOL ok;
  std::string what;
  bool hooked;
  if (image.call == "copy") {
    what = "CopyBits", hooked = device_.hooks & HOOK_COPYBITS;
    ok = hooked ? Fn<PFN_DrvCopyBits>(INDEX_DrvCopyBits)(target, source, clip, &xlate, rect, &from)
                : EngCopyBits(target, source, clip, &xlate, rect, &from);
  } else if (image.call == "stretch") {
    what = "StretchBlt", hooked = device_.hooks & HOOK_STRETCHBLT;
    ok = hooked ? Fn<PFN_DrvStretchBlt>(INDEX_DrvStretchBlt)(target, source, mask, clip, &xlate, nullptr, nullptr,
                                                             &to, &fromRect, &maskAt, COLORONCOLOR)
                : EngStretchBlt(target, source, mask, clip, &xlate, nullptr, nullptr, &to, &fromRect, &maskAt,
                                COLORONCOLOR);
  } else if (image.call == "stretchrop") {
    what = "StretchBltROP", hooked = device_.hooks & HOOK_STRETCHBLTROP;
    ok = hooked ? Fn<PFN_DrvStretchBltROP>(INDEX_DrvStretchBltROP)(target, source, mask, clip, &xlate, nullptr,
                                                                   nullptr, &to, &fromRect, &maskAt, COLORONCOLOR,
                                                                   nullptr, rop4)
                : EngStretchBltROP(target, source, mask, clip, &xlate, nullptr, nullptr, &to, &fromRect, &maskAt,
                                   COLORONCOLOR, nullptr, rop4);
  } else {
    what = "BitBlt", hooked = device_.hooks & HOOK_BITBLT;
    ok = hooked ? Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt)(target, source, mask, clip, &xlate, rect, &from, &maskAt, nullptr,
                                                     nullptr, rop4)
                : EngBitBlt(target, source, mask, clip, &xlate, rect, &from, &maskAt, nullptr, nullptr, rop4);
  }
  if (hooked) Trace("Drv" + what + " " + RectText(*rect) + " image " + std::to_string(image.bpp) + " bpp", Bool(ok));
  if (mask) EngUnlockSurface(mask);
  if (maskBitmap) EngDeleteSurface(reinterpret_cast<HSURF>(maskBitmap));
  EngUnlockSurface(source);
  EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
  return ok ? true : Fail(s, "the image call failed");
}

bool Session::PlayBands(const DrawStatement* s) {
  POINTL origin = {0, 0};
  BOOL ok = Fn<PFN_DrvStartBanding>(INDEX_DrvStartBanding)(device_.so, &origin);
  Trace("DrvStartBanding", Bool(ok) + " (" + std::to_string(origin.x) + "," + std::to_string(origin.y) + ")");
  if (!ok) return Fail(s, "DrvStartBanding failed");
  LONG bandHeight = device_.so->sizlBitmap.cy > 0 ? device_.so->sizlBitmap.cy : 1;
  // A page has at most this many bands; a driver that never ends its page is stopped.
  LONG limit = LONG(device_.gdi.ulVertRes) / bandHeight + 3;
  for (LONG n = 0;; ++n) {
    if (n >= limit) return Fail(s, "the driver's bands do not end with the page");
    RECTL band = {origin.x, origin.y, origin.x + device_.so->sizlBitmap.cx, origin.y + bandHeight};
    for (const Draw& draw : page_)
      if (!Play(draw, device_.so, origin, &band, s)) return false;
    ok = Fn<PFN_DrvNextBand>(INDEX_DrvNextBand)(device_.so, &origin);
    Trace("DrvNextBand", Bool(ok) + " (" + std::to_string(origin.x) + "," + std::to_string(origin.y) + ")");
    if (!ok) return Fail(s, "DrvNextBand failed");
    if (origin.x == -1 && origin.y == -1) return true;
  }
}

// A drawing call is played at once on a started page drawn directly, else kept for the page's
// play or its bands.
bool Session::Keep(Draw draw, const DrawStatement* s) {
  if (draw.rect.left > draw.rect.right) std::swap(draw.rect.left, draw.rect.right);
  if (draw.rect.top > draw.rect.bottom) std::swap(draw.rect.top, draw.rect.bottom);
  if (device_.banding || !pageStarted_) {
    page_.push_back(draw);
    return true;
  }
  return Play(draw, device_.so, POINTL{0, 0}, nullptr, s);
}

bool Session::StartPage(const DrawStatement* s) {
  if (pageOpen_ && !EndPage(s)) return false;
  if (!docOpen_) return Fail(s, "page outside a document");
  pageOpen_ = true;
  page_.clear();
  if (o_.maxPages && r_->pages >= o_.maxPages) {
    skipPage_ = true;
    return true;
  }
  skipPage_ = false;
  ++r_->pages;
  pageStarted_ = false;
  DocumentEvent(DOCUMENTEVENT_STARTPAGE, "STARTPAGE");
  // A journaled page starts when it is played.
  if (device_.info.flGraphicsCaps & GCAPS_DONTJOURNAL) {
    BOOL ok = Fn<PFN_DrvStartPage>(INDEX_DrvStartPage)(device_.so);
    Trace("DrvStartPage", Bool(ok));
    if (!ok) return Fail(s, "DrvStartPage failed");
    pageStarted_ = true;
  }
  return true;
}

bool Session::EndPage(const DrawStatement* s) {
  if (!pageOpen_) return Fail(s, "endpage without a page");
  pageOpen_ = false;
  if (skipPage_) return true;
  if (device_.banding) return PlayBands(s);  // the last band sends the page
  if (!pageStarted_) {
    BOOL ok = Fn<PFN_DrvStartPage>(INDEX_DrvStartPage)(device_.so);
    Trace("DrvStartPage", Bool(ok));
    if (!ok) return Fail(s, "DrvStartPage failed");
    for (const Draw& draw : page_)
      if (!Play(draw, device_.so, POINTL{0, 0}, nullptr, s)) return false;
  }
  BOOL ok = Fn<PFN_DrvSendPage>(INDEX_DrvSendPage)(device_.so);
  Trace("DrvSendPage", Bool(ok));
  return ok ? true : Fail(s, "DrvSendPage failed");
}

bool Session::EndDoc(const DrawStatement* s) {
  if (pageOpen_ && !EndPage(s)) return false;
  if (!docOpen_) return Fail(s, "enddoc without a document");
  docOpen_ = false;
  BOOL ok = Fn<PFN_DrvEndDoc>(INDEX_DrvEndDoc)(device_.so, 0);
  Trace("DrvEndDoc", Bool(ok));
  EndDocPrinter(printer_);
  return ok ? true : Fail(s, "DrvEndDoc failed");
}

// ResetDC: a new PDEV for the changed DEVMODE takes over from the old one between pages.
bool Session::Reset(const DrawStatement* s) {
  if (pageOpen_ && !EndPage(s)) return false;
  if (!EnsureDevice(s)) return false;
  std::vector<BYTE> dm = dm_;
  if (!EditDevmode(s->settings, &dm, s)) return false;
  Device fresh;
  // The new PDEV first, its surface only after the old one is gone.
  std::vector<BYTE> copy(dm);
  fresh.hdev = SimGdiCreateDevice();
  HSURF patterns[kPatternCount];
  fresh.pdev = Fn<PFN_DrvEnablePDEV>(INDEX_DrvEnablePDEV)(
      copy.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(copy.data()), nullptr, kPatternCount, patterns,
      sizeof fresh.gdi, reinterpret_cast<ULONG*>(&fresh.gdi), sizeof fresh.info, &fresh.info, fresh.hdev,
      const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(o_.printer.c_str())), printer_);
  Trace("DrvEnablePDEV", fresh.pdev ? "PDEV" : "NULL");
  if (!fresh.pdev) {
    SimGdiDeleteDevice(fresh.hdev);
    return Fail(s, "DrvEnablePDEV failed for the reset");
  }
  SimGdiBindDevice(fresh.hdev, fresh.pdev);
  Fn<PFN_DrvCompletePDEV>(INDEX_DrvCompletePDEV)(fresh.pdev, fresh.hdev);
  Trace("DrvCompletePDEV", "done");
  BOOL ok = Has(INDEX_DrvResetPDEV) ? Fn<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV)(device_.pdev, fresh.pdev) : TRUE;
  Trace("DrvResetPDEV", Bool(ok));
  DisableDevice(&device_);
  device_ = fresh;
  dm_ = dm;
  if (!ok) return Fail(s, "DrvResetPDEV failed");
  device_.surface = Fn<PFN_DrvEnableSurface>(INDEX_DrvEnableSurface)(device_.pdev);
  Trace("DrvEnableSurface", device_.surface ? "surface" : "NULL");
  if (!device_.surface) return Fail(s, "DrvEnableSurface failed after the reset");
  SimGdiSurfaceInfo info = {};
  SimGdiGetSurfaceInfo(device_.surface, &info);
  device_.banding = info.banding;
  device_.hooks = info.hooks;
  device_.so = EngLockSurface(device_.surface);
  if (device_.hooks & HOOK_BITBLT) SimGdiSetDeviceBlt(device_.hdev, Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt));
  if (Has(INDEX_DrvCopyBits)) SimGdiSetDeviceCopyBits(device_.hdev, Fn<PFN_DrvCopyBits>(INDEX_DrvCopyBits));
  QueryDeviceFonts(&device_);
  font_ = DeviceFontChoice();  // the new DC has no font selected
  return true;
}

void Session::Close() {
  if (dc_) {
    std::lock_guard<std::mutex> hold(g_dcLock);
    g_sessionDcs.erase(dc_);
    dc_ = nullptr;
  }
  if (docOpen_ && printer_) EndDocPrinter(printer_);
  docOpen_ = false;
  DisableDevice(&device_);
  if (driverEnabled_) {
    // The table has no DrvDisableDriver: it is an export.
    PFN_DrvDisableDriver disable =
        module_ ? DdiFunctionCast<PFN_DrvDisableDriver>(GetProcAddress(module_, "DrvDisableDriver")) : o_.disableDriver;
    if (disable) {
      disable();
      Trace("DrvDisableDriver", "done");
    }
    driverEnabled_ = false;
  }
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  if (configModule_) FreeLibrary(configModule_);
  configModule_ = nullptr;
  documentEvent_ = nullptr;
  if (printer_) ClosePrinter(printer_);
  printer_ = nullptr;
}

bool Session::Run(const std::vector<DrawStatement>& statements) {
  if (!Open(nullptr)) return false;
  for (const DrawStatement& st : statements) {
    const DrawStatement* s = &st;
    switch (s->kind) {
      case DrawKind::Devmode:
        if (device_.pdev) return Fail(s, "devmode after the job started: use reset");
        if (!EditDevmode(s->settings, &dm_, s)) return false;
        break;
      case DrawKind::Doc: {
        if (docOpen_) return Fail(s, "doc inside a document");
        if (!EnsureDevice(s)) return false;
        std::u16string name = s->text;
        if (DocumentEvent(DOCUMENTEVENT_STARTDOC, "STARTDOC") == DOCUMENTEVENT_FAILURE)
          return Fail(s, "the printer interface DLL refused the document");
        DOC_INFO_1W doc = {const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(name.c_str())), nullptr, nullptr};
        DWORD job = StartDocPrinterW(printer_, 1, reinterpret_cast<LPBYTE>(&doc));
        if (!job) return Fail(s, "the spooler refused the job");
        if (s->hasId) job = DWORD(s->number);
        r_->jobId = job;
        docOpen_ = true;
        BOOL ok = Fn<PFN_DrvStartDoc>(INDEX_DrvStartDoc)(
            device_.so, const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(name.c_str())), job);
        Trace("DrvStartDoc \"" + ToUtf8(reinterpret_cast<const WCHAR*>(name.c_str())) + "\" job " + std::to_string(job),
              Bool(ok));
        if (!ok) return Fail(s, "DrvStartDoc failed");
        DocumentEvent(DOCUMENTEVENT_STARTDOCPOST, "STARTDOCPOST");
        break;
      }
      case DrawKind::EndDoc:
        if (!EndDoc(s)) return false;
        break;
      case DrawKind::Page:
        if (!StartPage(s)) return false;
        break;
      case DrawKind::EndPage:
        if (!EndPage(s)) return false;
        break;
      case DrawKind::Reset:
        if (!Reset(s)) return false;
        break;
      case DrawKind::Escape: {
        if (!EnsureDevice(s)) return false;
        std::vector<char> out(size_t(s->out) + 1);
        ExtEscape(dc_, int(s->number), int(s->bytes.size()), s->hasInput ? s->bytes.data() : nullptr, int(s->out),
                  s->out ? out.data() : nullptr);
        break;
      }
      case DrawKind::Clip:
        if (s->subkind == "none") {
          clipped_ = false;
        } else if (s->subkind == "rect") {
          const DrawRect& r = s->rects[0];
          clipped_ = true;
          clip_ = {LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom)};
        } else {
          // A region of rectangles or a path: its bounds cut the calls, the region itself goes
          // with them.
          RECTL b = s->subkind == "path" ? PathBounds(*s, 0) : RECTL{0, 0, 0, 0};
          for (size_t i = 0; i < s->rects.size(); ++i) {
            const DrawRect& r = s->rects[i];
            RECTL c = {LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom)};
            b = i == 0 ? c : RECTL{std::min(b.left, c.left), std::min(b.top, c.top), std::max(b.right, c.right),
                                   std::max(b.bottom, c.bottom)};
          }
          clipped_ = true;
          clip_ = b;
          region_ = s;
          break;
        }
        region_ = nullptr;
        break;
      case DrawKind::Brush:
        if (s->subkind == "solid") {
          brush_ = true;
          colour_ = s->colour;
          brushStatement_ = nullptr;
        } else if (s->subkind == "none") {
          brush_ = false;
        } else {
          brush_ = true;
          brushStatement_ = s;
        }
        break;
      case DrawKind::Rect: {
        if (!pageOpen_) return Fail(s, "rect outside a page");
        if (skipPage_ || !brush_) break;
        const DrawRect& r = s->rects[0];
        Draw draw = {{LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom)},
                     s->rop,
                     DeviceColour(colour_),
                     clipped_,
                     clip_,
                     nullptr,
                     brushStatement_,
                     region_};
        if (!Keep(draw, s)) return false;
        break;
      }
      case DrawKind::Pen:
        pen_ = s;
        break;
      case DrawKind::Path: {
        if (!pageOpen_) return Fail(s, "path outside a page");
        if (skipPage_ || (!brush_ && s->subkind != "stroke") || s->pointKinds.empty()) break;
        // The bounds a wide pen may reach, for the test whether the call draws anything.
        std::string width = Setting(pen_, "width");
        LONG margin = LONG(width.empty() ? 1 : atof(width.c_str()) / 2 + 2);
        Draw draw = {PathBounds(*s, margin), 0xF0F0, DeviceColour(colour_), clipped_, clip_, nullptr,
                     brushStatement_, region_, s, pen_};
        if (!Keep(draw, s)) return false;
        break;
      }
      case DrawKind::Image: {
        if (!pageOpen_) return Fail(s, "image outside a page");
        if (skipPage_) break;
        if (s->call != "blt" && s->call != "copy" && s->call != "stretch" && s->call != "stretchrop")
          return Fail(s, "image call " + s->call + " is not one of blt, copy, stretch, stretchrop");
        const DrawRect& r = s->rects[0];
        Draw draw = {{LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom)}, 0xCCCC, 0, clipped_, clip_, s,
                     nullptr, region_};
        if (!Keep(draw, s)) return false;
        break;
      }
      case DrawKind::Font:
        if (!SelectFont(s)) return false;
        break;
      case DrawKind::Text: {
        if (!font_.face && !font_.engine) return Fail(s, "text without a font");
        if (!pageOpen_) return Fail(s, "text outside a page");
        if (skipPage_) break;
        // The text's extent is known only once the driver lays it out: its draw covers the page.
        Draw draw = {{0, 0, LONG(device_.gdi.ulHorzRes), LONG(device_.gdi.ulVertRes)},
                     0,
                     DeviceColour(colour_),
                     clipped_,
                     clip_,
                     nullptr,
                     nullptr,
                     region_};
        draw.text = s;
        draw.font = font_;
        if (!Keep(draw, s)) return false;
        break;
      }
    }
  }
  if (docOpen_ && !EndDoc(nullptr)) return false;
  if (!device_.pdev && !EnsureDevice(nullptr)) return false;  // a script without a job still makes the DC
  return true;
}

}  // namespace

bool SetPublicDevmodeField(DEVMODEW* dm, const std::string& name, const std::string& value) {
  char* end = nullptr;
  long v = strtol(value.c_str(), &end, 0);
  if (value.empty() || !end || *end) return false;
  struct Field {
    const char* name;
    short DEVMODEW::*field;
    DWORD flag;
  };
  static const Field kFields[] = {
      {"dmOrientation", &DEVMODEW::dmOrientation, DM_ORIENTATION},
      {"dmPaperSize", &DEVMODEW::dmPaperSize, 0x2},
      {"dmScale", &DEVMODEW::dmScale, 0x10},
      {"dmCopies", &DEVMODEW::dmCopies, 0x100},
      {"dmPrintQuality", &DEVMODEW::dmPrintQuality, 0x400},
      {"dmColor", &DEVMODEW::dmColor, DM_COLOR},
      {"dmDuplex", &DEVMODEW::dmDuplex, 0x1000},
      {"dmYResolution", &DEVMODEW::dmYResolution, 0x2000},
  };
  for (const Field& f : kFields)
    if (name == f.name) {
      if (v < -32768 || v > 32767) return false;
      dm->*f.field = short(v);
      dm->dmFields |= f.flag;
      return true;
    }
  return false;
}

PrintSessionResult RunPrintSession(const std::vector<DrawStatement>& statements, const PrintSessionOptions& options) {
  PrintSessionResult result;
  {
    Session session(options, &result);
    result.ok = session.Run(statements);
  }
  return result;
}

// The session's DC answers ExtEscape through the driver.
bool EngineSessionEscape(HDC dc, int code, int cbIn, LPCSTR in, int cbOut, LPSTR out, int* result) {
  Session* session = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_dcLock);
    auto it = g_sessionDcs.find(dc);
    if (it == g_sessionDcs.end()) return false;
    session = it->second;
  }
  *result = int(session->Escape(ULONG(code), cbIn > 0 ? ULONG(cbIn) : 0, const_cast<LPSTR>(in),
                                cbOut > 0 ? ULONG(cbOut) : 0, out));
  return true;
}

}  // namespace winsim
