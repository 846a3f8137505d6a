// zemshost pjl [--printer NAME] FILE [--update LINE]... [--values NAME]: loads zemsexc as an
// application does, hands it the "@PJL SET" lines of FILE as a command base, then each update
// line, and prints every result with the changed lines and the rebuilt base; --values lists
// the words a variable may take (all, then the allowed ones). --watermarks KIND, --ini and
// --devmode print the stored watermarks' lines, the settings ini's path and the head of the
// ANSI DEVMODE (FILE may then be left out).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/bind/export_of.h"
#include "host/commands.h"
#include "host/host_module.h"
#include "platform/win32.h"

namespace {

typedef void*(WINAPI* GetExclusiveFn)(const char*);
typedef void(WINAPI* FreeExclusiveFn)(void*);
typedef int(WINAPI* SetBaseFn)(void*, const char*, int*);
typedef int(WINAPI* GetTextFn)(void*, int, char*, int*);
typedef int(WINAPI* GetValueFn)(void*, const char*, int, int, char*, int*);
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
  std::vector<std::string> updates, values;
  std::vector<int> watermarkKinds;
  bool ini = false, devmode = false;
  for (int i = 0; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help") {
      printf("usage: zemshost pjl [--printer NAME] FILE [--update LINE]... [--values NAME]...\n"
             "       zemshost pjl [--printer NAME] [--watermarks KIND]... [--ini] [--devmode]\n"
             "Loads zemsexc, sets the \"@PJL SET\" lines of FILE as a command base for the printer\n"
             "(default \"ZEMS Printer\"), applies each update line (\"@PJL SET NAME = VALUE\"; the line\n"
             "end is added) and prints the results, the changed lines and the rebuilt base; --values\n"
             "lists the words of a variable, all and then those the base allows. FILE '-' reads stdin.\n"
             "--watermarks prints the lines of the stored watermarks of a kind (0 text, 1 image),\n"
             "--ini the path of the printer's settings ini, --devmode the head of its ANSI DEVMODE.\n");
      return 0;
    }
    if (a == "--printer" && i + 1 < argc) printer = argv[++i];
    else if (a == "--update" && i + 1 < argc) updates.push_back(argv[++i]);
    else if (a == "--values" && i + 1 < argc) values.push_back(argv[++i]);
    else if (a == "--watermarks" && i + 1 < argc) watermarkKinds.push_back(atoi(argv[++i]));
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
  if (file.empty()) {
    fprintf(stderr, "zemshost pjl: expected a FILE of \"@PJL SET\" lines\n");
    return 2;
  }
  std::stringstream content;
  if (file == "-") {
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
  if (!getExclusive || !freeExclusive || !setBase || !update || !getBase || !getChange || !getValue) {
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
  int r = setBase(handle, content.str().c_str(), &length);
  printf("set command base: %d\n", r);
  PrintLines("changes:", Take(getChange, handle));
  PrintLines("base:", Take(getBase, handle));
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
  freeExclusive(handle);
  int storedResult = stored ? PrintStored(dll, printer, watermarkKinds, ini, devmode) : 0;
  FreeLibrary(dll);
  return r < 0 || storedResult ? 1 : 0;
}
