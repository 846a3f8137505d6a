// zemshost print SCRIPT: plays a drawing script through GDI's print session on a printer of
// the machine, with the graphics driver the spooler names; --info shows the PDEV's GDIINFO
// and DEVINFO, --trace every DDI call in order.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/print_devmode.h"
#include "platform/sim.h"
#include "platform/sim_gdi.h"

namespace {

constexpr const char* kDefaultPrinter = "ZEMS Printer";
constexpr size_t kMaxScriptBytes = 256u << 20;

int Fail(const std::string& message, int status = 1) {
  fprintf(stderr, "zemshost print: %s\n", message.c_str());
  return status;
}

int Help() {
  printf(
      "usage: zemshost print SCRIPT [--printer NAME] [--raster|--vector] [--pages N] [--time T] [--trace]\n"
      "                             [--info]\n"
      "Plays the drawing script SCRIPT (.zds, see the README's conventions) as GDI prints it on\n"
      "the printer (default \"%s\"): the driver the spooler names is loaded and called in GDI's\n"
      "order, and the job's DEVMODE takes the script's devmode and reset items by their catalogue\n"
      "names. --raster and --vector choose the job's output mode (zdmImagePrint 1 or 0); --pages N\n"
      "plays at most N pages; --time YYYY-MM-DDThh:mm:ss sets the machine's clock for the job (the\n"
      "job header's date and time); --trace lists every DDI call with its result; --info shows the\n"
      "GDIINFO and DEVINFO the driver answered (SCRIPT may then be left out). --out FILE and\n"
      "--filter NAME are refused until the job stream is written.\n",
      kDefaultPrinter);
  return 0;
}

std::string Hex(unsigned long v) {
  char buf[16];
  snprintf(buf, sizeof buf, "0x%lX", v);
  return buf;
}

// A face name for the terminal, UTF-8.
std::string FaceText(const WCHAR* face) {
  std::string out;
  for (int i = 0; i < LF_FACESIZE && face[i]; ++i) {
    unsigned c = face[i];
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

struct Flag {
  unsigned long bit;
  const char* name;
};

std::string Flags(unsigned long value, const Flag* flags, size_t count) {
  std::string out = Hex(value);
  const char* sep = " (";
  for (size_t i = 0; i < count; ++i)
    if (value & flags[i].bit) {
      out += sep;
      out += flags[i].name;
      sep = " ";
      value &= ~flags[i].bit;
    }
  if (strcmp(sep, " ") == 0) out += value ? " +" + Hex(value) + ")" : ")";
  return out;
}

const char* FormatName(unsigned long f) {
  static const char* const names[] = {"0", "BMF_1BPP", "BMF_4BPP", "BMF_8BPP", "BMF_16BPP", "BMF_24BPP", "BMF_32BPP"};
  return f < 7 ? names[f] : "unknown";
}

void PrintInfo(const winsim::PrintSessionResult& r) {
  const GDIINFO& g = r.gdi;
  const DEVINFO& d = r.devInfo;
  static const Flag kText[] = {{0x1, "TC_OP_CHARACTER"}, {0x2, "TC_OP_STROKE"}, {0x4, "TC_CP_STROKE"},
                               {0x8, "TC_CR_90"},        {0x10, "TC_CR_ANY"},   {0x800, "TC_UA_ABLE"},
                               {0x1000, "TC_SO_ABLE"},   {0x4000, "TC_VA_ABLE"}};
  static const Flag kCaps[] = {{0x1, "GCAPS_BEZIERS"},          {0x2, "GCAPS_GEOMETRICWIDE"},
                               {0x4, "GCAPS_ALTERNATEFILL"},    {0x8, "GCAPS_WINDINGFILL"},
                               {0x10, "GCAPS_HALFTONE"},        {0x20, "GCAPS_COLOR_DITHER"},
                               {0x400, "GCAPS_MONO_DITHER"},    {0x2000, "GCAPS_DONTJOURNAL"},
                               {0x800000, "GCAPS_FORCEDITHER"}, {0x2000000, "GCAPS_ICM"}};
  printf("GDIINFO\n");
  printf("  ulVersion          %s\n", Hex(g.ulVersion).c_str());
  printf("  ulTechnology       %lu%s\n", g.ulTechnology, g.ulTechnology == 2 ? " (DT_RASPRINTER)" : "");
  printf("  ulHorzSize         %ld\n", long(g.ulHorzSize));
  printf("  ulVertSize         %ld\n", long(g.ulVertSize));
  printf("  ulHorzRes          %lu\n", g.ulHorzRes);
  printf("  ulVertRes          %lu\n", g.ulVertRes);
  printf("  cBitsPixel         %lu\n", g.cBitsPixel);
  printf("  cPlanes            %lu\n", g.cPlanes);
  printf("  ulNumColors        %lu\n", g.ulNumColors);
  printf("  ulLogPixelsX/Y     %lu %lu\n", g.ulLogPixelsX, g.ulLogPixelsY);
  printf("  flTextCaps         %s\n", Flags(g.flTextCaps, kText, sizeof kText / sizeof kText[0]).c_str());
  printf("  ulAspectX/Y/XY     %lu %lu %lu\n", g.ulAspectX, g.ulAspectY, g.ulAspectXY);
  printf("  StyleStep x/y/den  %ld %ld %ld\n", g.xStyleStep, g.yStyleStep, g.denStyleStep);
  printf("  ptlPhysOffset      %ld %ld\n", g.ptlPhysOffset.x, g.ptlPhysOffset.y);
  printf("  szlPhysSize        %ld %ld\n", g.szlPhysSize.cx, g.szlPhysSize.cy);
  printf("  ulNumPalReg        %lu\n", g.ulNumPalReg);
  printf("  ulPrimaryOrder     %lu%s\n", g.ulPrimaryOrder, g.ulPrimaryOrder == 4 ? " (PRIMARY_ORDER_CBA)" : "");
  printf("  ulHTPatternSize    %lu\n", g.ulHTPatternSize);
  printf("  ulHTOutputFormat   %lu (%s)\n", g.ulHTOutputFormat,
         g.ulHTOutputFormat == 0   ? "HT_FORMAT_1BPP"
         : g.ulHTOutputFormat == 6 ? "HT_FORMAT_24BPP"
                                   : "other");
  printf("  flHTFlags          %s\n", Hex(g.flHTFlags).c_str());
  printf("DEVINFO\n");
  printf("  flGraphicsCaps     %s\n", Flags(d.flGraphicsCaps, kCaps, sizeof kCaps / sizeof kCaps[0]).c_str());
  printf("  lfDefaultFont      height %ld, width %ld, charset %u, face \"%s\"\n", d.lfDefaultFont.lfHeight,
         d.lfDefaultFont.lfWidth, unsigned(d.lfDefaultFont.lfCharSet), FaceText(d.lfDefaultFont.lfFaceName).c_str());
  printf("  cFonts             %lu\n", d.cFonts);
  printf("  iDitherFormat      %lu (%s)\n", d.iDitherFormat, FormatName(d.iDitherFormat));
  printf("  cxDither/cyDither  %u %u\n", unsigned(d.cxDither), unsigned(d.cyDither));
  std::string palette = r.paletteMode == PAL_BGR       ? "PAL_BGR"
                        : r.paletteMode == PAL_INDEXED ? "PAL_INDEXED"
                                                       : Hex(r.paletteMode);
  for (ULONG c : r.paletteColours) palette += " " + Hex(c);
  printf("  hpalDefault        %s\n", palette.c_str());
}

}  // namespace

int CmdPrint(int argc, char** argv) {
  std::string script, printer = kDefaultPrinter;
  bool raster = false, vector = false, trace = false, info = false;
  unsigned pages = 0;
  for (int i = 0; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") return Help();
    if (a == "--raster") {
      raster = true;
    } else if (a == "--vector") {
      vector = true;
    } else if (a == "--trace") {
      trace = true;
    } else if (a == "--info") {
      info = true;
    } else if (a == "--printer") {
      if (!value(&printer)) return Fail("--printer needs a printer name", 2);
    } else if (a == "--pages") {
      char* end = nullptr;
      if (!value(&v)) return Fail("--pages needs a number", 2);
      unsigned long n = strtoul(v.c_str(), &end, 10);
      if (v.empty() || *end || n == 0 || n > 1000000) return Fail("--pages takes a number from 1 to 1000000", 2);
      pages = unsigned(n);
    } else if (a == "--time") {
      unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
      char tail = 0;
      if (!value(&v)) return Fail("--time needs a date and time", 2);
      SYSTEMTIME t = {};
      if (sscanf(v.c_str(), "%4u-%2u-%2uT%2u:%2u:%2u%c", &y, &mo, &d, &h, &mi, &sec, &tail) != 6)
        return Fail("--time takes YYYY-MM-DDThh:mm:ss, not '" + v + "'", 2);
      t.wYear = WORD(y), t.wMonth = WORD(mo), t.wDay = WORD(d), t.wHour = WORD(h), t.wMinute = WORD(mi);
      t.wSecond = WORD(sec);
      if (!SimSetLocalTime(&t)) return Fail("--time: '" + v + "' is no date the clock takes", 2);
    } else if (a == "--out" || a == "--filter") {
      return Fail(a + ": the job stream is not written yet", 2);
    } else if (a.compare(0, 2, "--") == 0) {
      return Fail("unknown option '" + a + "' (see zemshost print --help)", 2);
    } else if (script.empty()) {
      script = a;
    } else {
      return Fail("one SCRIPT only: '" + a + "' is a second", 2);
    }
  }
  if (raster && vector) return Fail("--raster and --vector exclude each other", 2);
  if (script.empty() && !info) return Fail("print needs a SCRIPT (see zemshost print --help)", 2);

  winsim::ScriptResult read;
  if (!script.empty()) {
    std::ifstream in(script, std::ios::binary);
    if (!in) return Fail(script + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    std::string bytes = text.str();
    if (bytes.size() > kMaxScriptBytes) return Fail(script + ": larger than 256 MiB");
    read = winsim::ReadDrawScript(bytes.data(), bytes.size());
    if (read.error != winsim::ScriptError::None) return Fail(script + ": " + winsim::ScriptErrorText(read));
  }

  winsim::PrintSessionOptions options;
  options.printer.assign(printer.begin(), printer.end());
  if (raster) options.settings.emplace_back("zdmImagePrint", "1");
  if (vector) options.settings.emplace_back("zdmImagePrint", "0");
  options.editDevmode = HostEditJobDevmode;
  options.maxPages = pages;
  winsim::PrintSessionResult result = winsim::RunPrintSession(read.statements, options);
  if (info && result.haveInfo) PrintInfo(result);
  if (trace)
    for (const std::string& line : result.trace) printf("%s\n", line.c_str());
  if (!result.ok) return Fail((script.empty() ? printer : script) + ": " + result.error);
  if (!script.empty())
    printf("printed %u page%s on \"%s\" (job %lu)\n", result.pages, result.pages == 1 ? "" : "s", printer.c_str(),
           result.jobId);
  return 0;
}
