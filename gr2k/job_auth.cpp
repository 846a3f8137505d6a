// The values a job-control client registered for a print job, fetched from the job-control DLL
// at each DrvStartDoc into the job's items; the authentication password passes twice through the
// DLL's transformation interface first.
//
// The DLL is outside the driver: every size it claims is bounded before anything is allocated,
// every value is read only within the buffer it was given and stored only within its item.
#include <string.h>

#include "core/bind/job_control.h"
#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/printer_names.h"
#include "gr2k/job_strings.h"

namespace {

struct AuthRow {
  DWORD property;
  DWORD code;  // value code of the get
  DWORD size;  // buffer in bytes
  WORD item;
};
const AuthRow kRows[] = {
    {1, 111, 18, kItem_zdmUserCode},
    {2, 112, 34, kItem_zdmOwnerName},
    {3, 113, 18, kItem_zdmJOBPassword},
    {4, 114, 18, kItem_zdmUserID},
    {5, 115, 34, kItem_zdmDocumentName},
    {8, 118, 18, kItem_zdmStoredPassword},
    {9, 123, 258, kItem_wdmAuthenticationUserName},
    {10, 125, 386, kItem_wdmAuthenticationPassword},
    {11, 124, 66, kItem_wdmAuthenticationNetworkKey},
};
constexpr DWORD kPasswordProperty = 10;
constexpr DWORD kNoValue = 13;
constexpr DWORD kUserChars = 256;
constexpr DWORD kPasswordBytes = 512;
constexpr DWORD kParameterTexts = 256;
const WCHAR kUnknownUser[] = TEXT("UNKNOWN");

bool SameText(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// One job-control connection of the fetch.
struct Connection {
  JcOps* ops;
  DWORD session;
  WORD version;
  const WCHAR* user;  // versions 0x103 and later
};

DWORD Get(const Connection& c, bool userForm, DWORD property, DWORD code, void* buffer, DWORD size, DWORD* needed) {
  if (userForm) {
    if (!c.ops->getPropertyForUser) return kNoValue;
    return c.ops->getPropertyForUser(c.session, property, code, c.user, buffer, size, needed);
  }
  if (!c.ops->getProperty) return kNoValue;
  return c.ops->getProperty(c.session, property, code, buffer, size, needed);
}

// The property as wide text in text (size bytes, the last character 0); false without a value.
bool FetchForm(const Connection& c, bool userForm, DWORD property, DWORD code, WCHAR* text, DWORD size) {
  memset(text, 0, size);
  DWORD needed = 0;
  DWORD r = Get(c, userForm, property, code, nullptr, 0, &needed);
  if ((r != 0 && r != kJcNotHandled) || needed == 0 || needed > kJcMaxValueBytes) return false;
  DWORD cb = needed > size ? needed : size;
  BYTE* buffer = static_cast<BYTE*>(MemAllocZero(cb + sizeof(WCHAR)));
  if (!buffer) return false;
  DWORD got = 0;
  bool ok = Get(c, userForm, property, code, buffer, cb, &got) == 0;
  if (ok) memcpy(text, buffer, size);
  MemFree(buffer);
  text[size / sizeof(WCHAR) - 1] = 0;
  return ok && text[0] != 0;
}

// The user form for versions 0x103 and later, then the older form again when it gave nothing.
bool Fetch(const Connection& c, DWORD property, DWORD code, WCHAR* text, DWORD size) {
  bool userForm = c.version >= 0x103;
  if (FetchForm(c, userForm, property, code, text, size)) return true;
  return c.version > 0x102 && FetchForm(c, false, property, code, text, size);
}


// One transformation of text (length bytes) into a fresh allocation (terminated), with its
// length; the result code, -1 for an answer that cannot be held.
DWORD RunTransform(JcTransformOps* t, DWORD handle, const char* text, DWORD length, char** out, DWORD* outLength) {
  *out = nullptr;
  *outLength = 0;
  DWORD needed = 0;
  DWORD r = t->transform(handle, text, length, nullptr, 0, &needed);
  if (r != 0) return r;
  if (needed > kJcMaxValueBytes) return DWORD(-1);
  char* buffer = static_cast<char*>(MemAllocZero(needed + 1));
  if (!buffer) return DWORD(-1);
  DWORD written = 0;
  r = t->transform(handle, text, length, buffer, needed + 1, &written);
  if (r != 0) {
    MemFree(buffer);
    return r;
  }
  *out = buffer;
  *outLength = written < needed ? written : needed;
  buffer[*outLength] = 0;
  return 0;
}

DWORD SecureMode(HANDLE printer) {
  DWORD value = 0, type = 0, needed = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("AuthenticationSecureMode")), &type,
                      reinterpret_cast<BYTE*>(&value), sizeof value, &needed) != ERROR_SUCCESS)
    value = 0;
  return (value & 1) ? 2 : 4;
}

// Wipes a password copy.
void Wipe(void* p, size_t n) {
  volatile BYTE* b = static_cast<volatile BYTE*>(p);
  while (n--) *b++ = 0;
}

// The transformed password into out (cbOut bytes, zeroed first, cut and terminated): 0 on
// success, else the failing call's code or -1.
DWORD JobAuthTransformPassword(HANDLE printer, char* out, DWORD cbOut, const Connection& c, JcTransformOps* t) {
  if (!out || !cbOut || !t || !t->open || !t->close || !t->transform) return DWORD(-1);
  memset(out, 0, cbOut);
  DWORD mode = SecureMode(printer);
  DWORD handle = 0;
  DWORD r = t->open(mode, &handle);
  if (r != 0) return r;
  if (mode == 2) {
    WCHAR first[129], second[129];
    DWORD flags = 0;
    bool ok = c.ops->attributes && c.ops->attributes(c.session, 9, &flags) == 0 && Fetch(c, 9, 123, first, 258) &&
              c.ops->attributes(c.session, 11, &flags) == 0 && Fetch(c, 11, 124, second, 258);
    const WCHAR* pair[2] = {first, second};
    r = ok && t->setParameter ? t->setParameter(handle, kParameterTexts, pair, sizeof pair) : DWORD(-1);
    if (r != 0) {
      t->close(handle);
      return r;
    }
  }
  WCHAR password[kPasswordBytes / sizeof(WCHAR)];
  char ansi[kPasswordBytes + 1] = {};
  if (Fetch(c, kPasswordProperty, 125, password, kPasswordBytes))
    WideCharToMultiByte(CP_ACP, 0, password, -1, ansi, kPasswordBytes, nullptr, nullptr);
  ansi[kPasswordBytes] = 0;
  char* first = nullptr;
  DWORD firstLength = 0;
  r = RunTransform(t, handle, ansi, DWORD(strlen(ansi)), &first, &firstLength);
  t->close(handle);
  Wipe(ansi, sizeof ansi);
  if (r != 0 || !first || !firstLength) {
    MemFree(first);
    return r ? r : DWORD(-1);
  }
  r = t->open(1, &handle);
  char* second = nullptr;
  DWORD secondLength = 0;
  if (r == 0) {
    r = RunTransform(t, handle, first, firstLength, &second, &secondLength);
    t->close(handle);
  }
  MemFree(first);
  if (r == 0 && second) {
    DWORD n = secondLength < cbOut - 1 ? secondLength : cbOut - 1;
    memcpy(out, second, n);
    out[n] = 0;
  }
  MemFree(second);
  return r;
}

}  // namespace

BOOL JobAuthClient(HANDLE printer, DriverContext* ctx, DWORD jobId, DWORD mask) {
  if (!ctx) return FALSE;
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(JcGetPrinterAlloc(printer, 2));
  if (!info) return FALSE;
  BOOL walked = FALSE;
  WCHAR path[MAX_PATH + 16];
  UINT n = GetSystemDirectoryW(path, MAX_PATH);
  HMODULE dll = nullptr;
  if (n && n < MAX_PATH) {
    memcpy(path + n, TEXT("\\ORVJC32.DLL"), sizeof(TEXT("\\ORVJC32.DLL")));
    dll = LoadLibraryW(path);
  }
  JcGetInterfaceProc getInterface =
      dll ? reinterpret_cast<JcGetInterfaceProc>(reinterpret_cast<void*>(GetProcAddress(dll, "JCGetInterface"))) : nullptr;
  JcDisposeInterfaceProc dispose =
      dll ? reinterpret_cast<JcDisposeInterfaceProc>(reinterpret_cast<void*>(GetProcAddress(dll, "JCDisposeInterface")))
          : nullptr;
  Connection c = {};
  JcTransformOps* transform = nullptr;
  WCHAR user[kUserChars + 1] = {};
  if (getInterface && dispose) {
    static const WORD kVersions[] = {0x105, 0x104, 0x103, 0x102, 0x101};
    for (WORD v : kVersions)
      if (getInterface(v, &c.ops) == 0 && c.ops) {
        c.version = v;
        break;
      }
    bool usable = c.ops != nullptr;
    if (usable && c.version >= 0x104) {
      JcOps* t = nullptr;
      usable = getInterface(kJcTransformInterface, &t) == 0 && t;
      transform = reinterpret_cast<JcTransformOps*>(t);
    }
    if (usable && c.version >= 0x103) {
      DWORD needed = 0;
      GetJobW(printer, jobId, 1, nullptr, 0, &needed);
      BYTE* job = needed >= sizeof(JOB_INFO_1W) && needed <= kJcMaxValueBytes
                      ? static_cast<BYTE*>(MemAllocZero(needed))
                      : nullptr;
      if (job && GetJobW(printer, jobId, 1, job, needed, &needed)) {
        LPCWSTR name = reinterpret_cast<JOB_INFO_1W*>(job)->pUserName;
        if (name && name[0] && !SameText(name, kUnknownUser))
          for (DWORD i = 0; i < kUserChars && name[i]; ++i) user[i] = name[i];
      }
      MemFree(job);
      DWORD chars = kUserChars;
      if (!user[0] && !GetUserNameW(user, &chars)) user[0] = 0;
      user[kUserChars] = 0;
      usable = user[0] != 0;
      c.user = user;
    }
    const WCHAR* name = PrnGetPrinterName(ctx);
    if (!name || !name[0]) name = info->pPrinterName;
    if (usable && c.ops->openSession && c.ops->openSession(name, &c.session) == 0) {
      walked = TRUE;
      for (const JcPropertyMap& row : kJcPropertyMap) {
        if (!(mask & row.maskBit)) continue;
        for (const AuthRow& a : kRows) {
          if (a.property != row.property) continue;
          if (a.property == kPasswordProperty) {
            char out[257];
            if (JobAuthTransformPassword(printer, out, sizeof out, c, transform) == 0 && out[0])
              JobStoreText(ctx, a.item, out);
            Wipe(out, sizeof out);
            continue;
          }
          WCHAR text[258 / sizeof(WCHAR)];
          if (!Fetch(c, a.property, a.code, text, a.size)) continue;
          char ansi[130] = {};
          if (WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, int(a.size / 2), nullptr, nullptr) <= 0)
            ansi[a.size / 2 - 1] = 0;
          ansi[a.size / 2 - 1] = 0;
          JobStoreText(ctx, a.item, ansi);
        }
      }
      if (c.ops->closeSession) c.ops->closeSession(c.session);
    }
    if (transform) dispose(reinterpret_cast<JcOps*>(transform));
    if (c.ops) dispose(c.ops);
  }
  if (dll) FreeLibrary(dll);
  MemFree(info);
  return walked;
}
