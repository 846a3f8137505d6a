// Raster band output against memcpy: N pages of samples/print/bench_page.zds are printed in
// colour and in monochrome raster mode through GDI's print session on a fresh machine, the
// spool stand-in discarding the stream. The time inside DrvStartBanding and DrvNextBand (the
// engine's rendering of the bands lies between the calls and is left out) is set against
// memcpy of the same bytes in band-sized blocks, measured in the same run.
// Vector records: N pages of samples/print/bench_vector.zds in vector mode; the time inside the
// drawing calls (DrvBitBlt, DrvStrokePath, DrvFillPath, DrvStrokeAndFillPath, DrvTextOut, with the brush
// realisations they ask for; GDI builds the call's objects before it) against the records they
// write, set against 1,000,000 records per second. Run by hand:
//   print_bench [PAGES]   (a native release build; the figures are medians of the pages)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gr2k/pdev.h"
#include "host/print_devmode.h"
#include "platform/ddi.h"
#include "platform/sim.h"
#include "platform/sim_gdi.h"

namespace {

typedef std::chrono::steady_clock Clock;

PFN g_realStart = nullptr, g_realNext = nullptr;
PFN_DrvEnableDriver g_realEnable = nullptr;
double g_seconds = 0;
unsigned long long g_bytes = 0;
LONG g_bandBytes = 0;
std::vector<double> g_pageSeconds;

BOOL APIENTRY TimedStart(SURFOBJ* so, POINTL* origin) {
  auto t0 = Clock::now();
  BOOL ok = DdiFunctionCast<PFN_DrvStartBanding>(g_realStart)(so, origin);
  g_seconds += std::chrono::duration<double>(Clock::now() - t0).count();
  return ok;
}

BOOL APIENTRY TimedNext(SURFOBJ* so, POINTL* origin) {
  auto t0 = Clock::now();
  BOOL ok = DdiFunctionCast<PFN_DrvNextBand>(g_realNext)(so, origin);
  g_seconds += std::chrono::duration<double>(Clock::now() - t0).count();
  LONG stride = so->lDelta < 0 ? -so->lDelta : so->lDelta;
  g_bandBytes = stride * so->sizlBitmap.cy;
  g_bytes += static_cast<unsigned long long>(g_bandBytes);
  if (origin && origin->y == -1) {
    g_pageSeconds.push_back(g_seconds);
    g_seconds = 0;
  }
  return ok;
}

// The drawing calls of vector mode, timed with the records they write.
PFN g_realBlt = nullptr, g_realStroke = nullptr, g_realFill = nullptr, g_realStrokeFill = nullptr, g_realText = nullptr;
double g_drawSeconds = 0;
unsigned long long g_records = 0;

template <class Call>
BOOL TimedDraw(SURFOBJ* so, Call call) {
  const PdevOutputStream* stream = so ? &reinterpret_cast<GraphicsPdev*>(so->dhpdev)->stream : nullptr;
  DWORD before = stream ? stream->recordCount : 0;
  auto t0 = Clock::now();
  BOOL ok = call();
  g_drawSeconds += std::chrono::duration<double>(Clock::now() - t0).count();
  DWORD after = stream ? stream->recordCount : 0;
  g_records += after >= before ? after - before : after;  // a flush inside the call restarts the count
  return ok;
}

BOOL APIENTRY TimedBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclTrg,
                       POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush, POINTL* ptlBrush, ROP4 rop4) {
  return TimedDraw(trg, [&] {
    return DdiFunctionCast<PFN_DrvBitBlt>(g_realBlt)(trg, src, mask, clip, xlate, rclTrg, ptlSrc, ptlMask, brush,
                                                     ptlBrush, rop4);
  });
}
BOOL APIENTRY TimedStroke(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* brush, POINTL* org,
                          LINEATTRS* la, MIX mix) {
  return TimedDraw(so, [&] {
    return DdiFunctionCast<PFN_DrvStrokePath>(g_realStroke)(so, path, clip, xform, brush, org, la, mix);
  });
}
BOOL APIENTRY TimedFill(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* org, MIX mix,
                        FLONG options) {
  return TimedDraw(so, [&] {
    return DdiFunctionCast<PFN_DrvFillPath>(g_realFill)(so, path, clip, brush, org, mix, options);
  });
}
BOOL APIENTRY TimedStrokeFill(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* stroke,
                              LINEATTRS* la, BRUSHOBJ* fill, POINTL* org, MIX mix, FLONG options) {
  return TimedDraw(so, [&] {
    return DdiFunctionCast<PFN_DrvStrokeAndFillPath>(g_realStrokeFill)(so, path, clip, xform, stroke, la, fill, org,
                                                                       mix, options);
  });
}

BOOL APIENTRY TimedText(SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra, RECTL* opaque,
                        BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org, MIX mix) {
  // In raster mode the call renders into the band through the engine: not a vector figure.
  if (so && reinterpret_cast<GraphicsPdev*>(so->dhpdev)->rasterMode)
    return DdiFunctionCast<PFN_DrvTextOut>(g_realText)(so, str, font, clip, extra, opaque, fore, opaqueBrush, org, mix);
  return TimedDraw(so, [&] {
    return DdiFunctionCast<PFN_DrvTextOut>(g_realText)(so, str, font, clip, extra, opaque, fore, opaqueBrush, org, mix);
  });
}

// The driver's own table with the banding and drawing entries timed.
DRVFN g_table[64];
BOOL APIENTRY TimedEnable(ULONG version, ULONG cb, DRVENABLEDATA* data) {
  if (!g_realEnable(version, cb, data)) return FALSE;
  ULONG n = data->c < 64 ? data->c : 64;
  memcpy(g_table, data->pdrvfn, n * sizeof(DRVFN));
  const struct {
    ULONG index;
    PFN* real;
    PFN timed;
  } kDrawing[] = {
      {INDEX_DrvBitBlt, &g_realBlt, DdiFunctionCast<PFN>(&TimedBlt)},
      {INDEX_DrvStrokePath, &g_realStroke, DdiFunctionCast<PFN>(&TimedStroke)},
      {INDEX_DrvFillPath, &g_realFill, DdiFunctionCast<PFN>(&TimedFill)},
      {INDEX_DrvStrokeAndFillPath, &g_realStrokeFill, DdiFunctionCast<PFN>(&TimedStrokeFill)},
      {INDEX_DrvTextOut, &g_realText, DdiFunctionCast<PFN>(&TimedText)},
  };
  for (ULONG i = 0; i < n; ++i) {
    for (const auto& d : kDrawing)
      if (g_table[i].iFunc == d.index) {
        *d.real = g_table[i].pfn;
        g_table[i].pfn = d.timed;
      }
    if (g_table[i].iFunc == INDEX_DrvStartBanding) {
      g_realStart = g_table[i].pfn;
      g_table[i].pfn = DdiFunctionCast<PFN>(&TimedStart);
    } else if (g_table[i].iFunc == INDEX_DrvNextBand) {
      g_realNext = g_table[i].pfn;
      g_table[i].pfn = DdiFunctionCast<PFN>(&TimedNext);
    }
  }
  data->pdrvfn = g_table;
  data->c = n;
  return TRUE;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// memcpy of the same bytes in band-sized blocks, as MB/s.
double MemcpyRate(unsigned long long bytes, LONG band) {
  std::vector<char> from(size_t(band), 1);
  std::vector<char> to(size_t(band), 0);
  std::vector<double> runs;
  for (int r = 0; r < 5; ++r) {
    auto t0 = Clock::now();
    for (unsigned long long done = 0; done < bytes; done += unsigned(band)) {
      memcpy(to.data(), from.data(), size_t(band));
      from[done % size_t(band)] = to[(done + 7) % size_t(band)];  // keeps the copies alive
    }
    runs.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return double(bytes) / Median(runs) / 1e6;
}

// N pages of a one-page script: its page statements repeated inside one document.
bool ReadPages(const std::string& path, int pages, winsim::ScriptResult* read) {
  std::ifstream in(path, std::ios::binary);
  std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t from = page.find("page\n"), to = page.find("enddoc");
  if (from == std::string::npos || to == std::string::npos) {
    fprintf(stderr, "print_bench: %s holds no page\n", path.c_str());
    return false;
  }
  std::string script = page.substr(0, from);
  for (int i = 0; i < pages; ++i) script += page.substr(from, to - from);
  script += "enddoc\n";
  *read = winsim::ReadDrawScript(script.data(), script.size());
  if (read->error != winsim::ScriptError::None) {
    fprintf(stderr, "print_bench: %s: %s\n", path.c_str(), winsim::ScriptErrorText(*read).c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int pages = argc > 1 ? atoi(argv[1]) : 5;
  if (pages < 1 || pages > 1000) {
    fprintf(stderr, "usage: print_bench [PAGES 1-1000]\n");
    return 2;
  }
  std::string root = std::string(getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp") + "/print_bench_machine";
  std::string bin = ZEMS_BIN_DIR, src = ZEMS_SOURCE_DIR;
  std::string install = "rm -rf '" + root + "' && ZEMS_MACHINE_ROOT='" + root + "' '" + bin +
                        "/zemshost' machine install --model '" + src + "/samples/models/zems_c4.zmd' --printer Print --extra '" +
                        src + "/samples/driver/OV1BD172.ini' >/dev/null";
  if (system(install.c_str()) != 0) {
    fprintf(stderr, "print_bench: cannot install the sample printer under %s\n", root.c_str());
    return 1;
  }
  SimSetMachineRoot(root.c_str());
  std::ofstream(root + "/stand-ins/ov1bc123.script") << "discard\n";
  HMODULE gr = LoadLibraryW(TEXT("zemsgr.dll"));
  g_realEnable = gr ? DdiFunctionCast<PFN_DrvEnableDriver>(GetProcAddress(gr, "DrvEnableDriver")) : nullptr;
  if (!g_realEnable) {
    fprintf(stderr, "print_bench: zemsgr.dll does not load\n");
    return 1;
  }
  winsim::ScriptResult read, vector;
  if (!ReadPages(src + "/samples/print/bench_page.zds", pages, &read) ||
      !ReadPages(src + "/samples/print/bench_vector.zds", pages, &vector))
    return 1;
  printf("%-7s %6s %12s %10s %10s %12s %7s\n", "mode", "pages", "band bytes", "ms/page", "MB/s", "memcpy MB/s", "ratio");
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> settings;
  } kModes[] = {
      {"colour", {{"zdmImagePrint", "1"}, {"dmColor", "2"}}},
      {"mono", {{"zdmImagePrint", "1"}, {"zdmColorProcess", "1"}, {"dmColor", "1"}}},
  };
  bool low = false;
  for (const auto& mode : kModes) {
    winsim::PrintSessionOptions options;
    options.printer = u"Print";
    options.settings = mode.settings;
    options.editDevmode = HostEditJobDevmode;
    options.driver = &TimedEnable;
    options.disableDriver = DdiFunctionCast<PFN_DrvDisableDriver>(GetProcAddress(gr, "DrvDisableDriver"));
    g_bytes = 0;
    g_seconds = 0;
    g_pageSeconds.clear();
    winsim::PrintSessionResult r = winsim::RunPrintSession(read.statements, options);
    if (!r.ok) {
      fprintf(stderr, "print_bench: %s: %s\n", mode.name, r.error.c_str());
      return 1;
    }
    double perPage = Median(g_pageSeconds);
    double bytesPerPage = double(g_bytes) / pages;
    double rate = bytesPerPage / perPage / 1e6;
    double copy = MemcpyRate(static_cast<unsigned long long>(bytesPerPage), g_bandBytes);
    printf("%-7s %6d %12.0f %10.2f %10.0f %12.0f %6.0f%%\n", mode.name, pages, bytesPerPage, perPage * 1e3, rate, copy,
           100 * rate / copy);
    low = low || rate < copy / 2;
  }
  // Vector mode: the drawing calls' records per second against 1,000,000.
  {
    winsim::PrintSessionOptions options;
    options.printer = u"Print";
    options.settings = {{"zdmImagePrint", "0"}};
    options.editDevmode = HostEditJobDevmode;
    options.driver = &TimedEnable;
    options.disableDriver = DdiFunctionCast<PFN_DrvDisableDriver>(GetProcAddress(gr, "DrvDisableDriver"));
    g_drawSeconds = 0;
    g_records = 0;
    winsim::PrintSessionResult r = winsim::RunPrintSession(vector.statements, options);
    if (!r.ok) {
      fprintf(stderr, "print_bench: vector: %s\n", r.error.c_str());
      return 1;
    }
    double rate = g_drawSeconds > 0 ? double(g_records) / g_drawSeconds : 0;
    printf("\n%-7s %6s %12s %10s %14s %12s %7s\n", "mode", "pages", "records", "ms/page", "records/s", "anchor/s",
           "ratio");
    printf("%-7s %6d %12llu %10.3f %14.0f %12.0f %6.0f%%\n", "vector", pages, g_records, g_drawSeconds * 1e3 / pages,
           rate, 1e6, 100 * rate / 1e6);
    low = low || rate < 1e6;
  }
  FreeLibrary(gr);
  return low ? 3 : 0;
}
