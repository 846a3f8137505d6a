// The print session: GDI's side of a print job. It opens the printer, loads the graphics
// driver the spooler names and calls it in GDI's order: driver enable, PDEV, surface, device
// fonts, document, pages (drawn at once, journaled and played, or rendered band by band),
// resets, escapes through the session's DC, and the teardown.
#include <stdio.h>
#include <string.h>

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
};

// A drawing call kept for playing later (journal or bands).
struct Draw {
  RECTL rect;
  ULONG rop;
  ULONG colour;  // the brush's colour index on the device
  bool clipped;
  RECTL clip;
  const DrawStatement* image;  // an image statement's bitmap, played with its source, or null
};

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
  bool PlayBands(const DrawStatement* s);
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
  bool brush_ = true;
  uint32_t colour_ = 0x000000;
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
  for (ULONG face = 1; face <= d->info.cFonts && Has(INDEX_DrvQueryFont); ++face) {
    ULONG_PTR id = 0;
    IFIMETRICS* metrics = Fn<PFN_DrvQueryFont>(INDEX_DrvQueryFont)(d->pdev, 0, face, &id);
    Trace("DrvQueryFont " + std::to_string(face), metrics ? "metrics" : "NULL");
  }
  return true;
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
  if (d->hdev) SimGdiDeleteDevice(d->hdev);
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
  BRUSHOBJ brush = {draw.colour, nullptr, 0};
  POINTL brushOrigin = {-origin.x, -origin.y};
  if (draw.image) return PlayImage(draw, target, &clip, &rect, s);
  BOOL ok;
  if (device_.hooks & HOOK_BITBLT) {
    ok = Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt)(target, nullptr, nullptr, &clip, nullptr, &rect, nullptr, nullptr, &brush,
                                            &brushOrigin, draw.rop);
    Trace("DrvBitBlt " + RectText(rect) + " rop " + Hex(draw.rop) + " colour " + Hex(draw.colour), Bool(ok));
  } else {
    ok = EngBitBlt(target, nullptr, nullptr, &clip, nullptr, &rect, nullptr, nullptr, &brush, &brushOrigin, draw.rop);
  }
  return ok ? true : Fail(s, "the drawing call failed");
}

// The image's bitmap as an engine bitmap over the script's bytes, handed with its XLATEOBJ to
// the driver when it hooks the call, else to the engine.
bool Session::PlayImage(const Draw& draw, SURFOBJ* target, CLIPOBJ* clip, RECTL* rect, const DrawStatement* s) {
  const DrawStatement& image = *draw.image;
  SIZEL size = {LONG(image.width), LONG(image.height)};
  ULONG format = image.bpp == 1 ? BMF_1BPP : BMF_24BPP;
  HBITMAP bitmap = EngCreateBitmap(size, 0, format, BMF_TOPDOWN, const_cast<char*>(image.image.data()));
  SURFOBJ* source = bitmap ? EngLockSurface(reinterpret_cast<HSURF>(bitmap)) : nullptr;
  if (!source) {
    if (bitmap) EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
    return Fail(s, "the image's bitmap could not be made");
  }
  ULONG table[2] = {DeviceColour(0x000000), DeviceColour(0xFFFFFF)};
  XLATEOBJ xlate = {};
  if (image.bpp == 1) {
    xlate.flXlate = XO_TABLE, xlate.iSrcType = PAL_INDEXED, xlate.cEntries = 2, xlate.pulXlate = table;
  } else {
    xlate.iSrcType = PAL_RGB, xlate.iDstType = PAL_BGR;
  }
  POINTL from = {image.srcX, image.srcY};
  BOOL ok;
  std::string what = image.call == "copy" ? "CopyBits" : "BitBlt";
  bool hooked = device_.hooks & (image.call == "copy" ? HOOK_COPYBITS : HOOK_BITBLT);
  if (image.call == "copy") {
    ok = hooked ? Fn<PFN_DrvCopyBits>(INDEX_DrvCopyBits)(target, source, clip, &xlate, rect, &from)
                : EngCopyBits(target, source, clip, &xlate, rect, &from);
  } else {
    ok = hooked ? Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt)(target, source, nullptr, clip, &xlate, rect, &from, nullptr,
                                                     nullptr, nullptr, 0xCCCC)
                : EngBitBlt(target, source, nullptr, clip, &xlate, rect, &from, nullptr, nullptr, nullptr, 0xCCCC);
  }
  if (hooked) Trace("Drv" + what + " " + RectText(*rect) + " image " + std::to_string(image.bpp) + " bpp", Bool(ok));
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
          return Fail(s, "clip " + s->subkind + " needs engine support not built yet");
        }
        break;
      case DrawKind::Brush:
        if (s->subkind == "solid") {
          brush_ = true;
          colour_ = s->colour;
        } else if (s->subkind == "none") {
          brush_ = false;
        } else {
          return Fail(s, "brush " + s->subkind + " needs engine support not built yet");
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
                     nullptr};
        if (!Keep(draw, s)) return false;
        break;
      }
      case DrawKind::Image: {
        if (!pageOpen_) return Fail(s, "image outside a page");
        if (skipPage_) break;
        // What the engine renders so far: 1:1 transfers of script bytes, 1 bit through a table
        // and 24 bits onto an RGB device.
        ULONG mode = 0, count = 0, colours[2];
        bool indexed = SimGdiGetPalette(device_.info.hpalDefault, &mode, colours, 2, &count) && mode == PAL_INDEXED;
        if (s->image.empty() || (s->call != "blt" && s->call != "copy") ||
            !(s->bpp == 1 || (s->bpp == 24 && !indexed)))
          return Fail(s, "image with these settings needs engine support not built yet");
        const DrawRect& r = s->rects[0];
        Draw draw = {{LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom)}, 0xCCCC, 0, clipped_, clip_, s};
        if (!Keep(draw, s)) return false;
        break;
      }
      case DrawKind::Pen:
      case DrawKind::Path:
      case DrawKind::Font:
      case DrawKind::Text:
        return Fail(s, s->keyword + " needs engine support not built yet");
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
