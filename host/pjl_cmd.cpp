// zemshost pjl [--printer NAME] FILE [--update LINE]... [--values NAME] [--option NAME]
// [--printer-value NAME]: loads zemsexc as an
// application does, hands it the "@PJL SET" lines of FILE as a command base, then each update
// line, and prints every result with the changed lines and the rebuilt base; --values lists
// the words a variable may take (all, then the allowed ones). --watermarks KIND, --ini and
// --devmode print the stored watermarks' lines, the settings ini's path and the head of the
// ANSI DEVMODE (FILE may then be left out).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/bind/export_of.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"
#include "core/pjl/pjl_text.h"
#include "core/tables/pjl_table.h"
#include "host/commands.h"
#include "host/host_module.h"
#include "platform/win32.h"

namespace {

typedef void*(WINAPI* GetExclusiveFn)(const char*);
typedef void(WINAPI* FreeExclusiveFn)(void*);
typedef int(WINAPI* SetBaseFn)(void*, const char*, int*);
typedef int(WINAPI* GetTextFn)(void*, int, char*, int*);
typedef int(WINAPI* GetValueFn)(void*, const char*, int, int, char*, int*);
typedef int(WINAPI* GetNamedFn)(void*, const char*, int, char*, int*);
typedef int(WINAPI* WaterMarkFn)(void*, int, int, char*, int*);
typedef int(WINAPI* IniNameFn)(const char*, int, char*, int*);
typedef int(WINAPI* DevmodeFn)(const char*, int, int, void*, int*);

// Lines with their ends shown: "\r\n" as a plain line break, anything else escaped.
void PrintLines(const char* label, const std::string& text) {
  printf("%s\n", label);
  if (text.empty()) printf("  (none)\n");
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      printf("  %s\n", line.c_str());
      line.clear();
      ++i;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char esc[8];
      snprintf(esc, sizeof(esc), "<%02X>", static_cast<unsigned char>(c));
      line += esc;
    } else {
      line += c;
    }
  }
  if (!line.empty()) printf("  %s\n", line.c_str());
}

std::string Take(GetTextFn get, void* handle) {
  int length = 0;
  get(handle, 0, nullptr, &length);
  if (length <= 0) return "";
  std::vector<char> buffer(static_cast<size_t>(length));
  if (get(handle, length, buffer.data(), &length) != 0) return "";
  return std::string(buffer.data());
}

std::string Words(GetValueFn get, void* handle, const std::string& name, int allowed) {
  int length = 0;
  int r = get(handle, name.c_str(), allowed, 0, nullptr, &length);
  if (r < 0) return "(failed)";
  if (length <= 0) return "(none)";
  std::vector<char> buffer(static_cast<size_t>(length));
  if (get(handle, name.c_str(), allowed, length, buffer.data(), &length) != 0) return "(failed)";
  std::string out;
  for (const char* p = buffer.data(); *p; p += strlen(p) + 1) out += (out.empty() ? "" : " ") + std::string(p);
  return out;
}

// ---- why a text was refused, and what the base dropped ----

// The first row of the variable table with this name, or null.
const PjlVariable* RowNamed(const std::string& name) {
  const PjlSettingTable* table = TblGetPjlSettingTable();
  for (DWORD i = 0; table && i < table->count; ++i)
    if (table->rows[i].setting && table->rows[i].name && name == table->rows[i].name) return &table->rows[i];
  return nullptr;
}

std::string SettingVariable(DWORD setting) {
  const PjlSettingTable* table = TblGetPjlSettingTable();
  for (DWORD i = 0; table && i < table->count; ++i)
    if (table->rows[i].setting == setting && (table->rows[i].modes & kPjlModeUpdate) && table->rows[i].name)
      return table->rows[i].name;
  return "setting " + std::to_string(setting);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Why the line at `p` is not a "@PJL SET" line as the service reads it.
std::string WhyRefused(const char* p) {
  while (IsBlank(*p)) ++p;
  if (strncmp(p, "@PJL", 4) != 0)
    return strncasecmp(p, "@PJL", 4) == 0 ? "lower case: the prefix is \"@PJL\"" : "no \"@PJL\" at the start";
  p += 4;
  while (IsBlank(*p)) ++p;
  if (strncmp(p, "SET", 3) != 0)
    return strncasecmp(p, "SET", 3) == 0 ? "lower case: the command is \"SET\"" : "no \"SET\" after \"@PJL\"";
  p += 3;
  auto token = [&p]() {
    while (IsBlank(*p)) ++p;
    const char* start = p;
    while (*p && !IsBlank(*p) && *p != '\r' && *p != '\n') ++p;
    return std::string(start, p);
  };
  const std::string name = token();
  if (name.size() >= kPjlTokenSize) return "a name longer than " + std::to_string(kPjlTokenSize - 1) + " bytes";
  while (IsBlank(*p)) ++p;
  if (*p != '=')
    return name.find('=') != std::string::npos ? "no blank between the name and \"=\"" : "no \"=\" after the name";
  ++p;
  const std::string value = token();
  if (value.size() >= kPjlTokenSize) return "a value longer than " + std::to_string(kPjlTokenSize - 1) + " bytes";
  while (IsBlank(*p)) ++p;
  if (p[0] == '\r' && p[1] == '\n') return "not a \"@PJL SET\" line";
  if (*p == '\n') return "the line ends with LF alone, not CR LF";
  if (*p == 0 || (p[0] == '\r' && p[1] == 0)) return "no CR LF at the end";
  return "text after the value (a value holds no blank)";
}

// Each line with its number: where the service stops, and why; or the mandatory variables
// the base lacks.
void ExplainRefusal(const std::string& text, int result) {
  char name[kPjlTokenSize], value[kPjlTokenSize];
  std::vector<std::string> names;
  std::vector<int> lines;
  int line = 1;
  for (const char* p = text.c_str();;) {
    const int used = PjlParseSetLine(p, name, value);
    if (used == 0) break;
    const char* end = strchr(p, '\n');
    const std::string shown(p, end ? static_cast<size_t>(end - p) : strlen(p));
    if (used < 0) {
      std::string clean;
      for (char c : shown) if (c != '\r') clean += c;
      printf("refused: line %d: %s\n  %s\n", line, WhyRefused(p).c_str(), clean.c_str());
      return;
    }
    names.push_back(name);
    lines.push_back(line);
    for (int i = 0; i < used; ++i) line += p[i] == '\n';
    p += used;
  }
  if (result != -2) return;
  const PjlIdTable* mandatory = TblGetPjlMandatory();
  for (DWORD i = 0; mandatory && i < mandatory->count; ++i) {
    const std::string wanted = SettingVariable(mandatory->ids[i]);
    bool found = false;
    for (const std::string& n : names) found = found || n == wanted;
    if (found) continue;
    printf("refused: the base lacks the mandatory variable %s\n", wanted.c_str());
    for (size_t k = 0; k < names.size(); ++k)
      if (strcasecmp(names[k].c_str(), wanted.c_str()) == 0)
        printf("  line %d names '%s': variable names are upper case\n", lines[k], names[k].c_str());
  }
}

// LF line ends (not preceded by CR) become CR LF; the number converted.
int ConvertLineEnds(std::string* text) {
  std::string out;
  int converted = 0;
  for (size_t i = 0; i < text->size(); ++i) {
    if ((*text)[i] == '\n' && (i == 0 || (*text)[i - 1] != '\r')) {
      out += '\r';
      ++converted;
    }
    out += (*text)[i];
  }
  if (converted) *text = out;
  return converted;
}

// The names of a text's lines, in order.
std::vector<std::string> LineNames(const std::string& text) {
  std::vector<std::string> names;
  char name[kPjlTokenSize], value[kPjlTokenSize];
  for (const char* p = text.c_str(); PjlNextSetLine(&p, name, value);) names.push_back(name);
  return names;
}

// Why a line of the caller's base is not in the rebuilt base.
std::string WhyDropped(DriverContext* ctx, const std::string& name) {
  const PjlVariable* row = RowNamed(name);
  if (!row) return "unknown variable";
  if (!(row->modes & kPjlModeUpdate)) return row->modes & kPjlModeOption ? "a printer option, not part of a job" : "a printer value, not part of a job";
  if (row->flags & kPjlByOptionCommand) {
    const ModelItemDescriptor* desc = ctx ? PjlFindCommandNode(ctx, row->setting, row->variant) : nullptr;
    if (!desc) return "the printer's model does not describe it";
    if (!desc->commands) return "no option command";
    return "its value has no text";
  }
  return "its settled value has no word";
}

void ListDropped(const std::string& printer, const std::string& given, const std::string& rebuilt) {
  const std::vector<std::string> kept = LineNames(rebuilt);
  std::vector<std::string> dropped;
  for (const std::string& n : LineNames(given)) {
    bool there = false;
    for (const std::string& k : kept) there = there || k == n;
    for (const std::string& d : dropped) there = there || d == n;
    if (!there) dropped.push_back(n);
  }
  if (dropped.empty()) return;
  std::u16string wide(printer.begin(), printer.end());
  HANDLE h = nullptr;
  DriverContext* ctx = nullptr;
  if (OpenPrinterW(reinterpret_cast<LPWSTR>(&wide[0]), &h, nullptr))
    ctx = CtxOpen(h, h, nullptr, 0, kKindSettings, 0, nullptr);
  for (const std::string& n : dropped) printf("dropped: %s (%s)\n", n.c_str(), WhyDropped(ctx, n).c_str());
  if (ctx) CtxRelease(ctx, kReleaseExpired);
  if (h) ClosePrinter(h);
}

// The answer of ExcGetPrinterOption (a list of words) or ExcGetPrinterValue (one text).
std::string Named(GetNamedFn get, void* handle, const std::string& name, bool list) {
  int length = 0;
  const int r = get(handle, name.c_str(), 0, nullptr, &length);
  if (r < 0) return "(failed)";
  if (length <= 0) return "(none)";
  std::vector<char> buffer(static_cast<size_t>(length) + 1, 0);
  if (get(handle, name.c_str(), length, buffer.data(), &length) != 0) return "(failed)";
  if (!list) return buffer.data();
  std::string out;
  for (const char* p = buffer.data(); *p; p += strlen(p) + 1) out += (out.empty() ? "" : " ") + std::string(p);
  return out;
}

// The stored answers of the printer: each result and text.
int PrintStored(HMODULE dll, const std::string& printer, const std::vector<int>& kinds, bool ini, bool devmode) {
  auto getExclusive = ExportOf<GetExclusiveFn>(dll, "ExcGetExclusive");
  auto freeExclusive = ExportOf<FreeExclusiveFn>(dll, "ExcFreeExclusive");
  auto list = ExportOf<WaterMarkFn>(dll, "ExcGetWaterMarkList");
  auto iniName = ExportOf<IniNameFn>(dll, "ExcGetIniFileName");
  auto driverDevmode = ExportOf<DevmodeFn>(dll, "ExcGetDriverDevmode");
  if (!getExclusive || !freeExclusive || !list || !iniName || !driverDevmode) {
    fprintf(stderr, "zemshost pjl: zemsexc.dll lacks the stored-settings exports\n");
    return 1;
  }
  int failed = 0;
  if (!kinds.empty()) {
    void* handle = getExclusive(printer.c_str());
    if (!handle) {
      fprintf(stderr, "zemshost pjl: no exclusion handle for '%s'\n", printer.c_str());
      return 1;
    }
    for (int kind : kinds) {
      int length = 0;
      int r = list(handle, kind, 0, nullptr, &length);
      std::string text;
      if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length));
        r = list(handle, kind, length, buffer.data(), &length);
        // Each block ends with a NUL: the lines are shown one after the other.
        for (int i = 0; r == 0 && i < length; ++i)
          if (buffer[size_t(i)]) text += buffer[size_t(i)];
      }
      printf("watermarks %d: %d, length %d\n", kind, r, length);
      PrintLines("lines:", text);
      failed |= r < 0;
    }
    freeExclusive(handle);
  }
  if (ini) {
    int length = 0;
    std::vector<char> buffer(260 + 1, 0);
    int r = iniName(printer.c_str(), int(buffer.size()), buffer.data(), &length);
    printf("ini: %d, length %d: %s\n", r, length, r == 0 ? buffer.data() : "");
    failed |= r < 0;
  }
  if (devmode) {
    int length = 0;
    driverDevmode(printer.c_str(), 1, 0, nullptr, &length);
    std::vector<unsigned char> dm(size_t(length > 0 ? length : 1), 0);
    int r = driverDevmode(printer.c_str(), 1, length, dm.data(), &length);
    printf("devmode: %d, length %d\n", r, length);
    if (r == 0 && length >= 102) {
      printf("  dmDeviceName: %.32s\n", reinterpret_cast<const char*>(dm.data()));
      printf("  dmSize: %u, dmDriverExtra: %u\n", unsigned(dm[36] | dm[37] << 8), unsigned(dm[38] | dm[39] << 8));
      printf("  dmFormName: %.32s\n", reinterpret_cast<const char*>(dm.data() + 70));
    }
    failed |= r < 0;
  }
  return failed ? 1 : 0;
}

}  // namespace

int CmdPjl(int argc, char** argv) {
  std::string printer = "ZEMS Printer", file;
  std::vector<std::string> updates, values, options, printerValues;
  std::vector<int> watermarkKinds;
  bool ini = false, devmode = false;
  for (int i = 0; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help") {
      printf("usage: zemshost pjl [--printer NAME] FILE [--update LINE]... [--values NAME]...\n"
             "       zemshost pjl [--printer NAME] [--option NAME]... [--printer-value NAME]...\n"
             "       zemshost pjl [--printer NAME] [--watermarks KIND]... [--ini] [--devmode]\n"
             "Loads zemsexc, sets the \"@PJL SET\" lines of FILE as a command base for the printer\n"
             "(default \"ZEMS Printer\"), applies each update line (\"@PJL SET NAME = VALUE\"; the line\n"
             "end is added) and prints the results, the changed lines and the rebuilt base; --values\n"
             "lists the words of a variable, all and then those the base allows. FILE '-' reads stdin.\n"
             "A FILE with LF line ends is read as CR LF (the output says so). A refused text is\n"
             "explained: the line, its number and why (no \"@PJL\", lower case, no CR LF at the end, a\n"
             "name or value too long, a mandatory variable missing). Lines of FILE the rebuilt base\n"
             "no longer holds are listed as dropped, with the reason.\n"
             "--option lists the words of a printer option the printer has (ExcGetPrinterOption),\n"
             "--printer-value what a printer-side setting holds (ExcGetPrinterValue).\n"
             "--watermarks prints the lines of the stored watermarks of a kind (0 text, 1 image),\n"
             "--ini the path of the printer's settings ini, --devmode the head of its ANSI DEVMODE.\n");
      return 0;
    }
    if (a == "--printer" && i + 1 < argc) printer = argv[++i];
    else if (a == "--update" && i + 1 < argc) updates.push_back(argv[++i]);
    else if (a == "--values" && i + 1 < argc) values.push_back(argv[++i]);
    else if (a == "--option" && i + 1 < argc) options.push_back(argv[++i]);
    else if (a == "--printer-value" && i + 1 < argc) printerValues.push_back(argv[++i]);
    else if (a == "--watermarks" && i + 1 < argc) {
      char* end = nullptr;
      const long kind = strtol(argv[++i], &end, 10);
      if (!*argv[i] || *end || kind < 0 || kind > 1) {
        fprintf(stderr, "zemshost pjl: bad watermark kind '%s' (0 text, 1 image)\n", argv[i]);
        return 2;
      }
      watermarkKinds.push_back(static_cast<int>(kind));
    }
    else if (a == "--ini") ini = true;
    else if (a == "--devmode") devmode = true;
    else if (file.empty() && (a == "-" || a.compare(0, 2, "--") != 0)) file = a;
    else {
      fprintf(stderr, "zemshost pjl: unknown argument '%s'\n", a.c_str());
      return 2;
    }
  }
  const bool stored = !watermarkKinds.empty() || ini || devmode;
  if (file.empty() && stored) {
    HMODULE dll = LoadExclusionDll("pjl");
    if (!dll) return 1;
    printf("printer: %s\n", printer.c_str());
    int r = PrintStored(dll, printer, watermarkKinds, ini, devmode);
    FreeLibrary(dll);
    return r;
  }
  const bool asksPrinter = !options.empty() || !printerValues.empty();
  if (file.empty() && !asksPrinter) {
    fprintf(stderr, "zemshost pjl: expected a FILE of \"@PJL SET\" lines\n");
    return 2;
  }
  std::stringstream content;
  if (file.empty()) {
  } else if (file == "-") {
    content << std::cin.rdbuf();
  } else {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      fprintf(stderr, "zemshost pjl: cannot read '%s'\n", file.c_str());
      return 1;
    }
    content << in.rdbuf();
  }
  HMODULE dll = LoadExclusionDll("pjl");
  if (!dll) return 1;
  auto getExclusive = ExportOf<GetExclusiveFn>(dll, "ExcGetExclusive");
  auto freeExclusive = ExportOf<FreeExclusiveFn>(dll, "ExcFreeExclusive");
  auto setBase = ExportOf<SetBaseFn>(dll, "ExcSetCommandBase");
  auto update = ExportOf<SetBaseFn>(dll, "ExcUpdateCommand");
  auto getBase = ExportOf<GetTextFn>(dll, "ExcGetCommandBase");
  auto getChange = ExportOf<GetTextFn>(dll, "ExcGetCommandChange");
  auto getValue = ExportOf<GetValueFn>(dll, "ExcGetCommandValue");
  auto getOption = ExportOf<GetNamedFn>(dll, "ExcGetPrinterOption");
  auto getPrinterValue = ExportOf<GetNamedFn>(dll, "ExcGetPrinterValue");
  if (!getExclusive || !freeExclusive || !setBase || !update || !getBase || !getChange || !getValue || !getOption ||
      !getPrinterValue) {
    fprintf(stderr, "zemshost pjl: zemsexc.dll lacks the command service's exports\n");
    FreeLibrary(dll);
    return 1;
  }
  void* handle = getExclusive(printer.c_str());
  if (!handle) {
    fprintf(stderr, "zemshost pjl: no exclusion handle for '%s'\n", printer.c_str());
    FreeLibrary(dll);
    return 1;
  }
  printf("printer: %s\n", printer.c_str());
  int length = 0;
  int r = 0;
  if (!file.empty()) {
    std::string text = content.str();
    if (int converted = ConvertLineEnds(&text))
      printf("note: %d LF line end%s read as CR LF\n", converted, converted == 1 ? "" : "s");
    r = setBase(handle, text.c_str(), &length);
    printf("set command base: %d\n", r);
    if (r < 0) ExplainRefusal(text, r);
    PrintLines("changes:", Take(getChange, handle));
    const std::string base = Take(getBase, handle);
    PrintLines("base:", base);
    if (r >= 0) ListDropped(printer, text, base);
  }
  for (const std::string& u : updates) {
    std::string line = u + " \r\n";
    r = update(handle, line.c_str(), &length);
    printf("update %s: %d\n", u.c_str(), r);
    PrintLines("changes:", Take(getChange, handle));
    PrintLines("base:", Take(getBase, handle));
  }
  for (const std::string& v : values) {
    printf("values %s: %s\n", v.c_str(), Words(getValue, handle, v, 0).c_str());
    printf("allowed %s: %s\n", v.c_str(), Words(getValue, handle, v, 1).c_str());
  }
  for (const std::string& o : options) printf("option %s: %s\n", o.c_str(), Named(getOption, handle, o, true).c_str());
  for (const std::string& v : printerValues)
    printf("printer value %s: %s\n", v.c_str(), Named(getPrinterValue, handle, v, false).c_str());
  freeExclusive(handle);
  int storedResult = stored ? PrintStored(dll, printer, watermarkKinds, ini, devmode) : 0;
  FreeLibrary(dll);
  return r < 0 || storedResult ? 1 : 0;
}
