// zemshost api --printer NAME [--level N] [--get ID[/VERSION]]... [--set ID=V[,V..][/SW]]...
//   [--set ID:OFFSET=VALUE[,OFFSET=VALUE..]]... [--devmode FLAGS] [--caps [ID...]] [--all-caps]:
// loads zemsexc by name as an application does, enables its application interface for the
// printer, prints the enabled status ids, runs each get and set in order (results, last errors,
// the items a set changed), prints the DEVMODE fields of the retrieval with FLAGS, disables.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "exclude/api/api_error_texts.h"
#include "host/commands.h"
#include "host/host_text.h"
#include "host/host_module.h"
#include "platform/win32.h"

namespace {

typedef LONG(WINAPI* DisableFn)(void*);
typedef void*(WINAPI* EnableFn)(const char*);
typedef LONG_PTR(WINAPI* GetCapsFn)(void*, DWORD, void*);
typedef LONG(WINAPI* GetDevmodeFn)(void*, DWORD, void*);
typedef LONG(WINAPI* GetLastErrorFn)(void*);
typedef LONG(WINAPI* GetStatusFn)(void*, DWORD, void*, DWORD);
typedef LONG(WINAPI* InitFn)(LONG, const LONG*);
typedef LONG(WINAPI* SetStatusFn)(void*, DWORD, void*, BYTE*, LONG);

constexpr size_t kRecordBytes = 1024;  // room for the largest status record
constexpr LONG kDevmodeBytes = 1236;

// One field of a record filled by offset: a 32-bit number, or a text with its terminator.
struct Field {
  size_t offset;
  bool isText;
  LONG number;
  std::string text;
};

struct Step {
  bool set;
  DWORD id;
  DWORD version = 0;  // of a get: the record version asked (0: the newest)
  std::vector<LONG> values;
  LONG sw;
  std::vector<Field> fields;  // the ID:OFFSET=VALUE form; the version is 1 unless offset 0 is given
};

// ---- the field form: ID:OFFSET=VALUE[,OFFSET=VALUE..] ----
// A VALUE that is a whole decimal number is a 32-bit number; anything else is a text, and a
// text in double quotes may look like a number ("4711") or hold a comma.
bool ParseFieldSet(const char* text, Step* step) {
  char* end = nullptr;
  step->set = true;
  step->sw = 0;
  step->id = static_cast<DWORD>(strtoul(text, &end, 10));
  if (end == text || *end != ':') return false;
  const char* p = end + 1;
  for (;;) {
    Field field{};
    field.offset = strtoul(p, &end, 10);
    if (end == p || *end != '=' || field.offset + 4 > kRecordBytes) return false;
    p = end + 1;
    if (*p == '"') {
      const char* close = strchr(p + 1, '"');
      if (!close) return false;
      field.isText = true;
      field.text.assign(p + 1, close);
      p = close + 1;
    } else {
      const char* stop = strchr(p, ',');
      const std::string value = stop ? std::string(p, stop) : std::string(p);
      if (value.empty()) return false;
      const LONG number = strtol(value.c_str(), &end, 10);
      if (*end == 0) {
        field.number = number;
      } else {
        field.isText = true;
        field.text = value;
      }
      p += value.size();
    }
    if (field.isText && field.offset + field.text.size() + 1 > kRecordBytes) return false;
    step->fields.push_back(field);
    if (*p == 0) return true;
    if (*p != ',') return false;
    ++p;
  }
}

void FillFields(const Step& step, BYTE* record) {
  const DWORD version = 1;
  memcpy(record, &version, sizeof(version));
  for (const Field& f : step.fields) {
    if (f.isText)
      memcpy(record + f.offset, f.text.c_str(), f.text.size() + 1);
    else
      memcpy(record + f.offset, &f.number, sizeof(f.number));
  }
}

// "ID=V[,V..][/SW]": false when it does not parse.
bool ParseSet(const char* text, Step* step) {
  char* end = nullptr;
  step->set = true;
  step->id = static_cast<DWORD>(strtoul(text, &end, 10));
  if (end == text || *end != '=') return false;
  step->sw = 0;
  const char* p = end + 1;
  for (;;) {
    const LONG v = strtol(p, &end, 10);
    if (end == p) return false;
    step->values.push_back(v);
    if (*end == ',') {
      p = end + 1;
      continue;
    }
    if (*end == '/') {
      p = end + 1;
      step->sw = strtol(p, &end, 10);
      if (end == p) return false;
    }
    return *end == 0 && step->values.size() <= 4;
  }
}

// A whole number in the given base (0: decimal, or hex with 0x); false for anything else.
bool ParseNumber(const char* text, long* value, int base = 10) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  const long v = strtol(text, &end, base);
  if (*end || errno) return false;
  *value = v;
  return true;
}

// "ID[/VERSION]" of a get.
bool ParseGet(const char* text, Step* step) {
  std::string id = text, version;
  const size_t slash = id.find('/');
  if (slash != std::string::npos) {
    version = id.substr(slash + 1);
    id = id.substr(0, slash);
  }
  long n = 0, v = 0;
  if (!ParseNumber(id.c_str(), &n) || n < 0) return false;
  if (slash != std::string::npos && (!ParseNumber(version.c_str(), &v) || v < 0)) return false;
  step->set = false;
  step->id = static_cast<DWORD>(n);
  step->version = static_cast<DWORD>(v);
  return true;
}

// An error code with what it means.
std::string ErrorText(LONG code) {
  return "error=" + std::to_string(code) + " (" + ApiErrorMeaning(code) + ")";
}

// The fields of a status record, by name. The simple record serves every item without a layout
// of its own; the job-type and user-ID records carry texts.
struct RecordField {
  UINT offset;
  const char* name;
  UINT textBytes;  // 0: a 32-bit number
};
struct RecordLayout {
  DWORD id;
  std::vector<RecordField> fields;
};

const RecordLayout& LayoutOf(DWORD id) {
  static const RecordLayout kSimple = {0, {{4, "value", 0}, {8, "value2", 0}, {12, "value3", 0}, {16, "value4", 0},
                                           {28, "switch", 0}}};
  static const RecordLayout kLayouts[] = {
      {10, {{4, "type", 0}, {8, "flags", 0}, {12, "user", 9}, {21, "password", 5}, {26, "stored password", 5},
            {31, "owner", 17}, {48, "document", 17}, {65, "merge file", 65}, {130, "overlay", 260},
            {390, "password (8)", 9}, {399, "stored password (8)", 9}, {480, "shared", 0}}},
      {26, {{8, "flags", 0}, {12, "user", 9}}},
  };
  for (const RecordLayout& l : kLayouts)
    if (l.id == id) return l;
  return kSimple;
}

// The fields that lie within the record's size.
void PrintRecord(DWORD id, const BYTE* record, LONG size) {
  for (const RecordField& f : LayoutOf(id).fields) {
    const UINT bytes = f.textBytes ? f.textBytes : 4;
    if (f.offset + bytes > static_cast<UINT>(size) || f.offset + bytes > kRecordBytes) continue;
    if (f.textBytes) {
      const char* at = reinterpret_cast<const char*>(record + f.offset);
      printf(" %s=\"%s\"", f.name, std::string(at, strnlen(at, f.textBytes)).c_str());
    } else {
      LONG v;
      memcpy(&v, record + f.offset, sizeof(v));
      printf(" %s=%ld", f.name, static_cast<long>(v));
    }
  }
}

std::string IdList(const BYTE* bits, DWORD bytes) {
  std::string out;
  for (DWORD id = 1; id <= bytes * 8; ++id)
    if (bits[(id - 1) >> 3] & (0x80u >> ((id - 1) & 7u))) out += (out.empty() ? "" : " ") + std::to_string(id);
  return out.empty() ? "(none)" : out;
}


// ---- capabilities (--caps, --all-caps) ----

// The form of a capability's answer: 0 a value, 1 a list of 32-bit entries, 2 a list of names of
// the given width, 3 a list of {width, length} pairs, 4 two 16-bit values, 5 two 32-bit values.
struct CapsForm {
  int kind;
  int width;
};

CapsForm FormOf(DWORD id) {
  switch (id) {
    case 3: return {2, 24};
    case 127: return {2, 260};
    case 5: case 7: case 11: case 16: case 33: case 86: case 267: case 269: case 272: case 279: case 282:
      return {2, 64};
    case 12: return {3, 8};
    case 13: case 14: case 20: case 21: return {4, 0};
    case 124: case 125: return {5, 0};
    case 2: case 4: case 6: case 10: case 15: case 18: case 30: case 32: case 39: case 40: case 41: case 45:
    case 47: case 54: case 56: case 61: case 66: case 67: case 75: case 77: case 85: case 92: case 93: case 103:
    case 104: case 105: case 106: case 107: case 109: case 266: case 268: case 271: case 275: case 277: case 278:
    case 281:
      return {1, 4};
    default: return {0, 0};
  }
}

void PrintCaps(GetCapsFn getCaps, GetLastErrorFn lastError, void* h, DWORD id) {
  const CapsForm form = FormOf(id);
  printf("caps %lu:", static_cast<unsigned long>(id));
  if (form.kind == 4 || form.kind == 5) {
    LONG pair[2] = {};
    const LONG_PTR r = getCaps(h, id, pair);
    if (form.kind == 4)
      printf(" %ld {%u, %u}\n", static_cast<long>(r), static_cast<unsigned>(pair[0] & 0xFFFF),
             static_cast<unsigned>((pair[0] >> 16) & 0xFFFF));
    else
      printf(" %ld {%ld, %ld}\n", static_cast<long>(r), static_cast<long>(pair[0]), static_cast<long>(pair[1]));
    return;
  }
  const LONG_PTR n = getCaps(h, id, nullptr);
  if (form.kind == 0 || n <= 0) {
    printf(" %ld", static_cast<long>(n));
    if (n == -1) printf(" %s", ErrorText(lastError(h)).c_str());
    printf("\n");
    return;
  }
  const size_t entry = form.kind == 2 ? static_cast<size_t>(form.width) : form.kind == 3 ? 8u : 4u;
  std::vector<BYTE> buffer(static_cast<size_t>(n) * entry, 0);
  const LONG_PTR filled = getCaps(h, id, buffer.data());
  printf(" %ld:", static_cast<long>(filled));
  for (LONG_PTR i = 0; i < filled && i < n; ++i) {
    const BYTE* at = buffer.data() + static_cast<size_t>(i) * entry;
    if (form.kind == 2) {
      std::string name(reinterpret_cast<const char*>(at), strnlen(reinterpret_cast<const char*>(at), entry));
      printf(" \"%s\"", name.c_str());
    } else if (form.kind == 3) {
      LONG pair[2];
      memcpy(pair, at, sizeof(pair));
      printf(" %ldx%ld", static_cast<long>(pair[0]), static_cast<long>(pair[1]));
    } else {
      LONG v;
      memcpy(&v, at, sizeof(v));
      printf(" %ld", static_cast<long>(v));
    }
  }
  printf("\n");
}

// The ids of the capability table: 1-127, 257-282 and 0x30000.
std::vector<DWORD> AllCapsIds() {
  std::vector<DWORD> ids;
  for (DWORD id = 1; id <= 127; ++id) ids.push_back(id);
  for (DWORD id = 257; id <= 282; ++id) ids.push_back(id);
  ids.push_back(0x30000);
  return ids;
}

// The filled entries of the all-capabilities record (812 bytes; arrays by 32-bit address).
void PrintAllCaps(GetCapsFn getCaps, GetLastErrorFn lastError, void* h) {
  const LONG_PTR address = getCaps(h, 0x80000001, nullptr);
  if (!address) {
    printf("all-caps: 0 %s\n", ErrorText(lastError(h)).c_str());
    return;
  }
  const BYTE* record = reinterpret_cast<const BYTE*>(address);
  printf("all-caps: 812 bytes\n");
  for (UINT offset = 4; offset < 812; offset += 4) {
    LONG v;
    memcpy(&v, record + offset, sizeof(v));
    if (v) printf("  +%u: %ld\n", offset, static_cast<long>(v));
  }
  printf("all-caps freed: %ld\n", static_cast<long>(getCaps(h, 0x80000002, reinterpret_cast<void*>(address))));
}

}  // namespace

int CmdApi(int argc, char** argv) {
  bool allCaps = false, capsAsked = false;
  std::vector<DWORD> capsIds;
  std::string printer;
  LONG level = -1;
  LONG devmodeFlags = -1;
  std::vector<Step> steps;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help") {
      printf("usage: zemshost api --printer NAME [--level N] [--get ID[/VERSION]]... [--set ID=V[,V..][/SW]]... "
             "[--set ID:OFFSET=VALUE[,OFFSET=VALUE..]]... [--devmode FLAGS] [--caps [ID...]] [--all-caps]\n"
             "Loads zemsexc.dll by name, enables the application interface for the printer (at level N\n"
             "when given), runs the gets and sets in order and prints each result and the status items\n"
             "a set changed; a failure prints its error code and what it means. --get asks the record\n"
             "VERSION (the newest when none is given) and prints each field by name, texts as text.\n"
             "--devmode prints the DEVMODE that retrieval FLAGS give. Numbers must be whole numbers.\n"
             "ID:OFFSET=VALUE fills a record field by field: a number, or a text (in double quotes when\n"
             "it looks like a number); the version is 1 unless offset 0 is given.\n"
             "--caps prints the answers of the capabilities ID (all when none is given), names as text;\n"
             "--all-caps the filled entries of the all-capabilities record.\n");
      return 0;
    }
    if (a == "--printer" && i + 1 < argc) {
      printer = argv[++i];
    } else if (a == "--level" && i + 1 < argc) {
      long n = 0;
      if (!ParseNumber(argv[++i], &n) || n < 0) {
        fprintf(stderr, "zemshost api: bad level '%s' (a whole number)\n", argv[i]);
        return 2;
      }
      level = n;
    } else if (a == "--get" && i + 1 < argc) {
      Step step;
      if (!ParseGet(argv[++i], &step)) {
        fprintf(stderr, "zemshost api: bad get '%s' (ID[/VERSION])\n", argv[i]);
        return 2;
      }
      steps.push_back(step);
    } else if (a == "--set" && i + 1 < argc) {
      Step step;
      const char* text = argv[++i];
      const char* digits = text;
      while (*digits >= '0' && *digits <= '9') ++digits;
      if (*digits == ':') {
        if (!ParseFieldSet(text, &step)) {
          fprintf(stderr, "zemshost api: bad set '%s' (ID:OFFSET=VALUE[,OFFSET=VALUE..])\n", text);
          return 2;
        }
      } else if (!ParseSet(text, &step)) {
        fprintf(stderr, "zemshost api: bad set '%s' (ID=V[,V..][/SW])\n", argv[i]);
        return 2;
      }
      steps.push_back(step);
    } else if (a == "--devmode" && i + 1 < argc) {
      long n = 0;
      if (!ParseNumber(argv[++i], &n, 0) || n < 0) {
        fprintf(stderr, "zemshost api: bad devmode flags '%s' (a number, 0x for hex)\n", argv[i]);
        return 2;
      }
      devmodeFlags = n;
    } else if (a == "--caps") {
      capsAsked = true;
      while (i + 1 < argc && argv[i + 1][0] != '-') {
        long n = 0;
        if (!ParseNumber(argv[++i], &n, 0) || n < 0) {
          fprintf(stderr, "zemshost api: bad capability id '%s'\n", argv[i]);
          return 2;
        }
        capsIds.push_back(static_cast<DWORD>(n));
      }
    } else if (a == "--all-caps") {
      allCaps = true;
    } else {
      fprintf(stderr, "zemshost api: unknown argument '%s'\n", argv[i]);
      return 2;
    }
  }
  if (printer.empty()) {
    fprintf(stderr, "zemshost api: --printer is required\n");
    return 2;
  }
  HMODULE dll = LoadExclusionDll("api");
  if (!dll) return 1;
  auto disable = ExportOf<DisableFn>(dll, "ZEMSDrvDisable");
  auto enable = ExportOf<EnableFn>(dll, "ZEMSDrvEnable");
  auto getCaps = ExportOf<GetCapsFn>(dll, "ZEMSDrvGetCaps");
  auto getDevmode = ExportOf<GetDevmodeFn>(dll, "ZEMSDrvGetDevmode");
  auto lastError = ExportOf<GetLastErrorFn>(dll, "ZEMSDrvGetLastError");
  auto getStatus = ExportOf<GetStatusFn>(dll, "ZEMSDrvGetStatus");
  auto init = ExportOf<InitFn>(dll, "ZEMSDrvInit");
  auto setStatus = ExportOf<SetStatusFn>(dll, "ZEMSDrvSetStatus");
  if (!disable || !enable || !getCaps || !getDevmode || !lastError || !getStatus || !init || !setStatus) {
    fprintf(stderr, "zemshost api: zemsexc.dll lacks an export of the application interface\n");
    FreeLibrary(dll);
    return 1;
  }
  // The level is the process's before the enable: a context keeps the level it was enabled at.
  if (level >= 0) {
    const LONG wanted[2] = {0, level};
    init(1, wanted);
  }
  void* h = enable(printer.c_str());
  if (!h) {
    fprintf(stderr, "zemshost api: the interface cannot be enabled for '%s'\n", printer.c_str());
    FreeLibrary(dll);
    return 1;
  }
  BYTE enabled[64] = {};
  const LONG_PTR bitmapBytes = getCaps(h, 0, nullptr);
  getCaps(h, 0, enabled);
  printf("enabled status ids: %s\n", IdList(enabled, static_cast<DWORD>(bitmapBytes > 0 ? bitmapBytes : 0)).c_str());
  bool ok = true;
  for (const Step& step : steps) {
    std::vector<BYTE> record(kRecordBytes, 0);
    if (!step.set) {
      const LONG r = getStatus(h, step.id, record.data(), step.version);
      DWORD version = 0;
      memcpy(&version, record.data(), sizeof(version));
      printf("get %lu: %ld", static_cast<unsigned long>(step.id), static_cast<long>(r));
      if (r >= 0) {
        printf(" version=%lu", static_cast<unsigned long>(version));
        PrintRecord(step.id, record.data(), r);
        printf("\n");
      } else {
        printf(" %s\n", ErrorText(lastError(h)).c_str());
      }
      ok = ok && r >= 0;
      continue;
    }
    if (!step.fields.empty()) {
      FillFields(step, record.data());
    } else {
      const DWORD version = 1;
      memcpy(record.data(), &version, sizeof(version));
      for (size_t i = 0; i < step.values.size(); ++i) memcpy(record.data() + 4 + 4 * i, &step.values[i], 4);
      memcpy(record.data() + 28, &step.sw, 4);
    }
    BYTE changed[64] = {};
    const LONG r = setStatus(h, step.id, record.data(), changed, 0);
    if (r >= 0)
      printf("set %lu: %ld changed: %s\n", static_cast<unsigned long>(step.id), static_cast<long>(r),
             IdList(changed, static_cast<DWORD>(bitmapBytes > 0 ? bitmapBytes : 0)).c_str());
    else
      printf("set %lu: %ld %s\n", static_cast<unsigned long>(step.id), static_cast<long>(r),
             ErrorText(lastError(h)).c_str());
    ok = ok && r >= 0;
  }
  if (capsAsked)
    for (DWORD id : capsIds.empty() ? AllCapsIds() : capsIds) PrintCaps(getCaps, lastError, h, id);
  if (allCaps) PrintAllCaps(getCaps, lastError, h);
  if (devmodeFlags >= 0) {
    std::vector<BYTE> dm(kDevmodeBytes, 0);
    const LONG r = getDevmode(h, static_cast<DWORD>(devmodeFlags), dm.data());
    if (r == kDevmodeBytes)
      PrintDevmode(dm.data());
    else
      printf("devmode: %ld %s\n", static_cast<long>(r), ErrorText(lastError(h)).c_str());
    ok = ok && r == kDevmodeBytes;
  }
  disable(h);
  FreeLibrary(dll);
  return ok ? 0 : 1;
}
