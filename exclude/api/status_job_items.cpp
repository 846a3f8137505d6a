// Status items of the job type (print method) with its user ID, passwords and names, the user
// ID alone, the information sub-codes, the printer user authentication and the network key.
#include <string.h>

#include "core/bind/jc_string.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/devmode/paper_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"
#include "core/context/settings_snapshot.h"
#include "core/store/item_store.h"
#include "core/store/settings_stores.h"
#include "core/system/settings_folders.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_item_texts.h"
#include "exclude/api/api_items_job.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_status_table.h"

namespace {

// ---- item 10 record ----
enum : UINT {
  kOffType = 4,
  kOffFlags = 8,
  kOffUserId = 12,        // char[9]
  kOffJobPw4 = 21,        // char[5]
  kOffStoredPw4 = 26,     // char[5]
  kOffOwner = 31,         // char[17]
  kOffDocument = 48,      // char[17]
  kOffMerge = 65,         // char[65]
  kOffOverlay = 130,      // char[260]
  kOffJobPw8 = 390,       // char[9], version 2
  kOffStoredPw8 = 399,    // char[9], version 2
  kOffDocument8 = 408,    // version 3 copies
  kOffDocument9 = 425,
  kOffStoredPw9 = 442,
  kOffDocument10 = 451,
  kOffStoredPw10 = 468,
  kOffShared = 480,       // i32, version 3
};
enum : DWORD {
  kFlagUserId = 0x1,
  kFlagJobPw4 = 0x2,
  kFlagStoredPw4 = 0x4,
  kFlagOwner = 0x8,
  kFlagDocument = 0x10,
  kFlagMerge = 0x20,
  kFlagOverlay = 0x40,
  kFlagJobPw8 = 0x80,
  kFlagStoredPw8 = 0x100,
  kFlagDocument8 = 0x200,
  kFlagDocument9 = 0x400,
  kFlagStoredPw9 = 0x800,
  kFlagDocument10 = 0x1000,
  kFlagStoredPw10 = 0x2000,
  kFlagShared = 0x4000,
  kFlagsVersion1 = 0x7F,
  kFlagsVersion2 = 0x1FF,
  kFlagsVersion3 = 0x7FFF,
};
constexpr WORD kAlertFreeSizeStored = 10075;
constexpr LONG kFreeOutputPaper = 1024;

// The record's texts, read only for the flags given, each within its array.
struct JobTexts {
  char userId[9];
  char jobPw4[5];
  char storedPw4[5];
  char owner[17];
  char document[17];
  char merge[65];
  char overlay[260];
  char jobPw8[9];
  char storedPw8[9];
};

// Reads the texts the flags name; 0 (error 11 set) when one is not terminated in its array.
int ReadJobTexts(ApiContext* api, const void* record, DWORD flags, JobTexts* t) {
  memset(t, 0, sizeof(*t));
  struct Field {
    DWORD flags;
    UINT offset;
    UINT size;
    char* out;
  } fields[] = {
      {kFlagUserId, kOffUserId, 9, t->userId},
      {kFlagJobPw4, kOffJobPw4, 5, t->jobPw4},
      {kFlagStoredPw4, kOffStoredPw4, 5, t->storedPw4},
      {kFlagOwner, kOffOwner, 17, t->owner},
      {kFlagDocument | kFlagDocument8 | kFlagDocument9 | kFlagDocument10, kOffDocument, 17, t->document},
      {kFlagMerge, kOffMerge, 65, t->merge},
      {kFlagOverlay, kOffOverlay, 260, t->overlay},
      {kFlagJobPw8, kOffJobPw8, 9, t->jobPw8},
      {kFlagStoredPw8 | kFlagStoredPw9 | kFlagStoredPw10, kOffStoredPw8, 9, t->storedPw8},
  };
  for (const Field& f : fields) {
    if (!(flags & f.flags)) continue;
    if (!ApiRecordText(record, f.offset, f.size, f.out)) {
      ApiSetLastError(api, kApiErrCharacters);
      return 0;
    }
  }
  return 1;
}

DWORD FlagsOfVersion(DWORD version) {
  if (version == 1) return kFlagsVersion1;
  if (version == 2) return kFlagsVersion2;
  return kFlagsVersion3;
}

// Capability 83 as the job password limit: 8, or 4 when it answers -1 or 0.
LONG PasswordLimit(ApiContext* api) {
  const LONG caps = ApiAskCaps(api, 83, nullptr);
  return caps == -1 || caps == 0 ? 4 : caps;
}

bool LengthIn(const char* text, size_t low, size_t high) {
  const size_t n = strlen(text);
  return n >= low && n <= high;
}

// A stored text setting after loading its user string: its length.
size_t StoredLength(ApiContext* api, DWORD mask, WORD setting) {
  ApiLoadUserStrings(api, mask);
  char text[300];
  ApiReadSettingText(api, setting, text, sizeof(text));
  return strlen(text);
}

bool UserIdAlnumNonEmptyOrStored(ApiContext* api, DWORD flags, const JobTexts& t) {
  if (flags & kFlagUserId) return t.userId[0] && ApiIsAlnumText(t.userId);
  return StoredLength(api, kApiUserId, kItem_zdmUserID) > 0;
}

// The user ID of types 8 to 10: empty refused, other characters error 11.
LONG CheckHeldUserId(ApiContext* api, DWORD flags, const JobTexts& t) {
  if (flags & kFlagUserId) {
    if (!t.userId[0]) return -1;
    if (!ApiIsAlnumText(t.userId)) {
      ApiSetLastError(api, kApiErrCharacters);
      return -1;
    }
    return 1;
  }
  return StoredLength(api, kApiUserId, kItem_zdmUserID) > 0 ? 1 : -1;
}

// A 4- to 8-digit password field: empty allowed when emptyOk; within the limit.
bool EightDigitOk(const char* text, LONG limit, bool emptyOk) {
  if (!text[0]) return emptyOk;
  if (!ApiIsDigitText(text) || !LengthIn(text, 4, 8)) return false;
  return limit != 4 || strlen(text) <= 4;
}

bool FourDigitOk(const char* text, bool emptyOk) {
  if (!text[0]) return emptyOk;
  return strlen(text) == 4 && ApiIsDigitText(text);
}

// Checks of the fields a type uses: 1 passes, -1 refuses (an error code set where named).
LONG CheckJobFields(ApiContext* api, LONG type, DWORD flags, const JobTexts& t, LONG limit, LONG* shared,
                    bool* takeShared, const void* record) {
  switch (type) {
    case 0:
      return !(flags & kFlagUserId) || ApiIsAlnumText(t.userId) ? 1 : -1;
    case 1: {
      if (!UserIdAlnumNonEmptyOrStored(api, flags, t)) return -1;
      // Every password field given is checked by its own rule.
      if ((flags & kFlagJobPw4) && !FourDigitOk(t.jobPw4, false)) return -1;
      if ((flags & kFlagJobPw8) && !EightDigitOk(t.jobPw8, limit, false)) return -1;
      if (!(flags & (kFlagJobPw4 | kFlagJobPw8)) && StoredLength(api, kApiUserJobPassword, kItem_zdmJOBPassword) < 4)
        return -1;
      return 1;
    }
    case 2:
      return UserIdAlnumNonEmptyOrStored(api, flags, t) ? 1 : -1;
    case 3:
      if ((flags & kFlagUserId) && !ApiIsAlnumText(t.userId)) return -1;
      if ((flags & kFlagStoredPw4) && !FourDigitOk(t.storedPw4, true)) return -1;
      if ((flags & kFlagStoredPw8) && !EightDigitOk(t.storedPw8, limit, true)) return -1;
      if ((flags & kFlagOwner) && ApiHasChar(t.owner, '"')) return -1;
      if ((flags & kFlagDocument) && ApiHasChar(t.document, '"')) return -1;
      return 1;
    case 5:
      return !(flags & kFlagMerge) || ApiIsValidFileName(t.merge) ? 1 : -1;
    case 7: {
      if (ApiRead(api, kItem_zdmFuncSelectWaterMark) != 0) return -1;
      if (flags & kFlagOverlay) return t.overlay[0] && ApiIsValidFullFileName(t.overlay) ? 1 : -1;
      char current[260];
      ApiReadSettingText(api, kItem_wdmOvlPath, current, sizeof(current));
      return current[0] ? 1 : -1;
    }
    case 8:
    case 9:
    case 10: {
      if (CheckHeldUserId(api, flags, t) != 1) return -1;
      const DWORD docFlag = type == 8 ? kFlagDocument8 : type == 9 ? kFlagDocument9 : kFlagDocument10;
      if ((flags & docFlag) && ApiHasChar(t.document, '"')) {
        ApiSetLastError(api, kApiErrCharacters);
        return -1;
      }
      if (type == 8) return 1;
      const DWORD pwFlag = type == 9 ? kFlagStoredPw9 : kFlagStoredPw10;
      if (flags & pwFlag) {
        if (t.storedPw8[0] && !LengthIn(t.storedPw8, 4, 8)) return -1;
        if (!ApiIsDigitText(t.storedPw8)) {
          ApiSetLastError(api, kApiErrCharacters);
          return -1;
        }
      }
      if ((flags & kFlagShared) && ApiIsSettingOffered(api, kItem_zdmSharedPrnData, 0, 3)) {
        *shared = ApiRecordLong(record, kOffShared);
        if (!ApiValueTest(api, kItem_zdmSharedPrnData, *shared)) return -1;
        *takeShared = true;
      }
      return 1;
    }
    default:  // 4 stored-job print, 6 remote and unknown types
      return -1;
  }
}

// Writes a text setting and saves it as a user string: 1, or 0 when the save was refused.
int WriteUserText(ApiContext* api, WORD setting, const char* text, DWORD mask) {
  ApiWriteSettingText(api, setting, text);
  return mask ? ApiSaveUserString(api, mask) : 1;
}

}  // namespace

LONG ApiSetJobType(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (!ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG limit = PasswordLimit(api);
  if (limit == 8 && version == 1) return -1;
  const LONG type = ApiRecordLong(record, kOffType);
  if (!ApiValueTest(api, kItem_zdmPrnMethod, type)) return -1;
  if (type == 3) {
    const LONG out = ApiReadLong(api, kItem_zdmOutPaperSize);
    const LONG paper = out == kFreeOutputPaper ? ApiReadLong(api, kItem_dmPaperSize) : out;
    if (PaperIsFreeSizeRange(paper) && ApiAlertMatches(api, kItem_zdmPrnMethod, kAlertFreeSizeStored, type, 1))
      return -1;
  }
  const DWORD flags = static_cast<DWORD>(ApiRecordLong(record, kOffFlags)) & FlagsOfVersion(version);
  JobTexts t;
  if (!ReadJobTexts(api, record, flags, &t)) return -1;
  LONG shared = 0;
  bool takeShared = false;
  if (CheckJobFields(api, type, flags, t, limit, &shared, &takeShared, record) != 1) return -1;

  char overlay[260] = {};
  if (type == 7 && (flags & kFlagOverlay)) {
    const int made = OsIsWin9x() ? ApiShortPathCreating(t.overlay, overlay) : ApiEnsureFileFullPath(t.overlay, overlay);
    if (!made || !overlay[0]) return -1;
  }

  // The stored copies follow the settings as the engine's own save after every request does:
  // a store that cannot be written leaves the job's settings to speak for themselves.
  if (!ApiWrite(api, kItem_zdmPrnMethod, type)) return -1;
  ApiPersistSetting(api, kItem_zdmPrnMethod);
  const bool usesUserId = type == 0 || type == 1 || type == 2 || type == 3 || type >= 8;
  if (usesUserId && (flags & kFlagUserId) && !WriteUserText(api, kItem_zdmUserID, t.userId, kApiUserId)) return -1;
  switch (type) {
    case 1:
      if ((flags & kFlagJobPw4) && !WriteUserText(api, kItem_zdmJOBPassword, t.jobPw4, kApiUserJobPassword)) return -1;
      if ((flags & kFlagJobPw8) && !WriteUserText(api, kItem_zdmJOBPassword, t.jobPw8, kApiUserJobPassword)) return -1;
      break;
    case 3:
      if ((flags & kFlagStoredPw4) && !WriteUserText(api, kItem_zdmStoredPassword, t.storedPw4, kApiUserStoredPassword))
        return -1;
      if ((flags & kFlagOwner) && !WriteUserText(api, kItem_zdmOwnerName, t.owner, kApiUserOwnerName)) return -1;
      if ((flags & kFlagDocument) && !WriteUserText(api, kItem_zdmDocumentName, t.document, kApiUserDocumentName))
        return -1;
      if ((flags & kFlagStoredPw8) && !WriteUserText(api, kItem_zdmStoredPassword, t.storedPw8, kApiUserStoredPassword))
        return -1;
      break;
    case 5:
      if (flags & kFlagMerge) ApiWriteSettingText(api, kItem_zdmMergeFileName, t.merge);
      break;
    case 7:
      if (flags & kFlagOverlay) {
        ApiWriteSettingText(api, kItem_wdmOvlPath, overlay);
        ApiPersistSetting(api, kItem_wdmOvlPath);
      }
      break;
    case 8:
    case 9:
    case 10: {
      const DWORD docFlag = type == 8 ? kFlagDocument8 : type == 9 ? kFlagDocument9 : kFlagDocument10;
      if (flags & docFlag) ApiWriteSettingText(api, kItem_zdmDocumentName, t.document);
      const DWORD pwFlag = type == 9 ? DWORD{kFlagStoredPw9} : type == 10 ? kFlagStoredPw10 : DWORD{0};
      if (pwFlag && (flags & pwFlag)) ApiWriteSettingText(api, kItem_zdmStoredPassword, t.storedPw8);
      if (takeShared) {
        if (!ApiWrite(api, kItem_zdmSharedPrnData, shared)) return -1;
        ApiPersistSetting(api, kItem_zdmSharedPrnData);
      }
      break;
    }
    default:
      break;
  }
  return 1;
}

LONG ApiVerifyJobType(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  return ApiRead(api, kItem_zdmPrnMethod) == ApiRecordLong(record, kOffType) ? 1 : -1;
}

LONG ApiGetJobType(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0) return -1;
  if (!record) return size;
  version = ApiUsedRecordVersion(id, version);
  if (version == 1 && PasswordLimit(api) == 8) {
    ApiSetLastError(api, kApiErrVersion);
    return -1;
  }
  ApiReloadStoredSetting(api, kItem_zdmPrnMethod);
  ApiReloadStoredSetting(api, kItem_zdmSharedPrnData);
  BYTE* r = static_cast<BYTE*>(record);
  const LONG type = ApiReadLong(api, kItem_zdmPrnMethod);
  memcpy(r + kOffType, &type, 4);
  DWORD flags = version == 1 ? DWORD{kFlagsVersion1} : DWORD{0x1F9};
  if (version == 3) flags |= 0x7E00;
  memcpy(r + kOffFlags, &flags, 4);
  memset(r + kOffUserId, 0, static_cast<size_t>(size) - kOffUserId);
  char text[300];
  ApiLoadUserStrings(api, kApiUserId);
  ApiReadSettingText(api, kItem_zdmUserID, text, sizeof(text));
  ApiPutRecordText(r, kOffUserId, 9, text, 8);
  ApiLoadUserStrings(api, kApiUserJobPassword);
  ApiReadSettingText(api, kItem_zdmJOBPassword, text, sizeof(text));
  if (flags & kFlagJobPw4)
    ApiPutRecordText(r, kOffJobPw4, 5, text, 4);
  else
    ApiPutRecordText(r, kOffJobPw8, 9, text, 8);
  char stored[300];
  ApiLoadUserStrings(api, kApiUserStoredPassword);
  ApiReadSettingText(api, kItem_zdmStoredPassword, stored, sizeof(stored));
  if (flags & kFlagStoredPw4)
    ApiPutRecordText(r, kOffStoredPw4, 5, stored, 4);
  else
    ApiPutRecordText(r, kOffStoredPw8, 9, stored, 8);
  ApiLoadUserStrings(api, kApiUserOwnerName | kApiUserDocumentName);
  ApiReadSettingText(api, kItem_zdmOwnerName, text, sizeof(text));
  ApiPutRecordText(r, kOffOwner, 17, text, 16);
  char document[300];
  ApiReadSettingText(api, kItem_zdmDocumentName, document, sizeof(document));
  ApiPutRecordText(r, kOffDocument, 17, document, 16);
  ApiReadSettingText(api, kItem_zdmMergeFileName, text, sizeof(text));
  ApiPutRecordText(r, kOffMerge, 65, text, 64);
  ApiReadSettingText(api, kItem_wdmOvlPath, text, sizeof(text));
  ApiPutRecordText(r, kOffOverlay, 260, text, 259);
  if (version == 3) {
    ApiPutRecordText(r, kOffDocument8, 17, document, 16);
    ApiPutRecordText(r, kOffDocument9, 17, document, 16);
    ApiPutRecordText(r, kOffDocument10, 17, document, 16);
    ApiPutRecordText(r, kOffStoredPw9, 9, stored, 8);
    ApiPutRecordText(r, kOffStoredPw10, 9, stored, 8);
    const LONG shared = ApiReadLong(api, kItem_zdmSharedPrnData);
    memcpy(r + kOffShared, &shared, 4);
  }
  return size;
}

// ---- item 26 ----

LONG ApiSetUserId(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  char userId[9];
  if (!ApiRecordText(record, kOffUserId, 9, userId)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  if (!ApiIsAlnumText(userId)) return -1;
  const LONG method = ApiReadLong(api, kItem_zdmPrnMethod);
  if ((method == 1 || method == 2) && !userId[0]) return -1;
  return WriteUserText(api, kItem_zdmUserID, userId, kApiUserId) ? 1 : -1;
}

LONG ApiGetUserId(ApiContext* api, DWORD id, void* record, DWORD) {
  const LONG size = static_cast<LONG>(ApiRecordSize(id, 1));
  if (!record) return size;
  BYTE* r = static_cast<BYTE*>(record);
  DWORD flags = 0;
  memset(r + kOffUserId, 0, 9);
  ApiLoadUserStrings(api, kApiUserId);
  char text[300];
  ApiReadSettingText(api, kItem_zdmUserID, text, sizeof(text));
  ApiPutRecordText(r, kOffUserId, 9, text, 8);
  if (r[kOffUserId]) flags = kFlagUserId;
  memcpy(r + kOffFlags, &flags, 4);
  return size;
}

// ---- item 50 ----
namespace {

enum : UINT {
  kOffSubCode = 4,
  kOffVersionText = 8,
  kOffInfoValue = 24,
  kOffInfoSize = 28,
  kOffInfoText = 40,
};
constexpr UINT kInfoRecordSize = 300;
constexpr WORD kUserCodeDialog = 1010, kUserCodeControl = 2570;
constexpr DWORD kPunchKindVariable = 723;
const char kCoreVersionMarker[] = "********CoreVersion=6.652********";

bool SystemMayStore() { return OsIsWin9x() || OsIsUserAdmin(); }

// The last size query of sub-code 248 per context: the handle, the size and a digest of the list.
struct PunchWordsQuery {
  DWORD handle;
  LONG size;
  DWORD digest;
};
PunchWordsQuery g_punchQueries[16];

DWORD Digest(const char* words, int length) {
  DWORD h = 2166136261u;
  for (int i = 0; i < length; ++i) h = (h ^ static_cast<BYTE>(words[i])) * 16777619u;
  return h;
}

PunchWordsQuery* QueryOf(ApiContext* api, bool create) {
  PunchWordsQuery* free = nullptr;
  for (PunchWordsQuery& q : g_punchQueries) {
    if (q.handle == api->handle) return &q;
    if (!free && q.handle == 0) free = &q;
  }
  if (!create) return nullptr;
  if (!free) free = &g_punchQueries[api->handle % 16];
  free->handle = api->handle;
  return free;
}

// The punch words: -1 on a lister error, 0 none, else their bytes (with the final NUL) in *out
// (heap, MemFree).
int PunchWords(ApiContext* api, char** out, int* length) {
  *out = nullptr;
  *length = 0;
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  DWORD setting = kItem_zdmFuncSelectPunch;
  int need = 0;
  int rc = PjlListSettingWords(ctx, setting, 0, nullptr, &need);
  if (rc < 0) return -1;
  if (need <= 0) {
    setting = kPunchKindVariable;
    rc = PjlListSettingWords(ctx, setting, 0, nullptr, &need);
    if (rc < 0) return -1;
    if (need <= 0) return 0;
  }
  char* words = static_cast<char*>(MemAllocZero(static_cast<SIZE_T>(need) + 1));
  if (!words) return -1;
  int got = 0;
  if (PjlListSettingWords(ctx, setting, need, words, &got) != 0 || got != need) {
    MemFree(words);
    return -1;
  }
  *out = words;
  *length = need;
  return 1;
}

LONG GetPunchWords(ApiContext* api, BYTE* r) {
  const LONG mode = ApiRecordLong(r, kOffInfoValue);
  if (mode != 0 && mode != 1) {
    ApiSetLastError(api, kApiErrRefused);
    return -1;
  }
  char* words = nullptr;
  int length = 0;
  const int rc = PunchWords(api, &words, &length);
  if (rc < 0) return -1;
  if (mode == 0) {
    const LONG size = length;
    if (rc > 0) memcpy(r + kOffInfoSize, &size, 4);
    PunchWordsQuery* q = QueryOf(api, true);
    q->size = size;
    q->digest = Digest(words, length);
    MemFree(words);
    return kInfoRecordSize;
  }
  // Mode 1 copies exactly what the last size query of this context reported for this list.
  LONG address = ApiRecordLong(r, kOffInfoSize);
  PunchWordsQuery* q = QueryOf(api, false);
  if (!address || !q || q->size != length || q->digest != Digest(words, length)) {
    MemFree(words);
    ApiSetLastError(api, kApiErrRefused);
    return -1;
  }
  if (rc > 0) memcpy(reinterpret_cast<void*>(static_cast<LONG_PTR>(address)), words, static_cast<size_t>(length));
  MemFree(words);
  return kInfoRecordSize;
}

WORD InfoSetting(DWORD subCode) {
  switch (subCode) {
    case 249: return kItem_zdmExtOutputIndexRotation;
    case 250: return kItem_zdmFuncSelectReverseCover;
    case 251: return kItem_zdmScaleCentering;
    case 252: return kItem_zdmFuncSelectChapter;
    case 253: return kItem_zdmFuncSelectBack;
    default: return 0;
  }
}

LONG SetUserCode(ApiContext* api, const BYTE* r) {
  if (!ApiIsControlAvailable(api, kUserCodeDialog, kUserCodeControl, 2)) return -1;
  if (!SystemMayStore()) {
    ApiSetLastError(api, kApiErrStore);
    return -1;
  }
  const char* text = reinterpret_cast<const char*>(r + kOffInfoText);
  int n = 0;
  for (; n < 9 && text[n]; ++n)
    if (text[n] < '0' || text[n] > '9') {
      ApiSetLastError(api, kApiErrCharacters);
      return -1;
    }
  if (n == 0 || n > 8) return -1;
  char code[9] = {};
  memcpy(code, text, static_cast<size_t>(n));
  WCHAR probe[129] = {};
  if (ApiJcGetString(api->printer, 1, 1, probe, 129)) {
    ApiWriteSettingText(api, kItem_zdmUserCode, code);
    WCHAR wide[9] = {};
    for (int i = 0; i < n; ++i) wide[i] = static_cast<WCHAR>(code[i]);
    const DWORD bytes = OsIsWin9x() ? static_cast<DWORD>(n + 1) : static_cast<DWORD>(2 * n + 2);
    return ApiWritePrinterData(api, TEXT("JCUserCode"), REG_SZ, wide, bytes) ? 1 : -1;
  }
  ApiWriteSettingText(api, kItem_zdmUserCode, code);
  return ApiSaveUserString(api, kApiUserCode) ? 1 : -1;
}

LONG SetWorkingWatermark(ApiContext* api, const BYTE* r) {
  const LONG number = ApiRecordLong(r, kOffInfoValue);
  if (number == 256) return -1;
  int noMemory = 0;
  if (!ApiCapsListHas(api, 32, number, &noMemory)) {
    if (noMemory) ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ApiJournalFile(api, PathSettingsFile(ctx))) return -1;
  CtxSnapshotPush(ctx);
  ApiWriteSettingText(api, kItem_wdmWmChar, "");
  ApiWriteSettingText(api, kItem_wdmWmImage, "");
  StampSelect(ctx, number - 1);
  const int saved = StampSave(ctx, 256);
  CtxSnapshotPop(ctx, TRUE);
  return saved ? 1 : -1;
}

}  // namespace

LONG ApiSetInfo(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const BYTE* r = static_cast<const BYTE*>(record);
  const DWORD sub = static_cast<DWORD>(ApiRecordLong(r, kOffSubCode));
  const LONG level = ApiLevel(api);
  switch (sub) {
    case 0:
      return 1;  // read-only
    case 246:
      return level > 12 ? SetUserCode(api, r) : 1;
    case 247:
      return level > 11 ? SetWorkingWatermark(api, r) : 1;
    case 248: case 249: case 250: case 251: case 252: case 253:
      if (level >= 12) {
        ApiSetLastError(api, kApiErrReadOnly);
        return -1;
      }
      return 1;
    case 254: {
      if (level <= 11) return 1;
      const LONG value = ApiRecordLong(r, kOffInfoValue);
      if (!ApiTestAndWrite(api, kItem_zdmJobBinder, value)) return -1;
      if (OsIsWin9x()) {
        BYTE* block = ApiSettings(api);
        DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(block);
        if (block && dm) {
          BYTE* priv = block + dm->dmSize;
          memcpy(priv + 4, priv + 12, 4);
        }
      }
      return 1;
    }
    case 256: {
      if (level <= 9) return 1;
      char track[21] = {};
      const char* text = reinterpret_cast<const char*>(r + kOffInfoText);
      for (int i = 0; i < 20 && text[i]; ++i) track[i] = text[i];
      return ApiWriteSettingText(api, kItem_zdmTrackID, track) ? 1 : -1;
    }
    default:
      ApiSetLastError(api, kApiErrInfoCode);
      return -1;
  }
}

LONG ApiVerifyInfo(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (ApiRecordLong(record, kOffSubCode) == 254 && ApiLevel(api) > 11)
    return ApiRead(api, kItem_zdmJobBinder) == ApiRecordLong(record, kOffInfoValue) ? 1 : -1;
  return 1;
}

LONG ApiGetInfo(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kInfoRecordSize;
  BYTE* r = static_cast<BYTE*>(record);
  const DWORD sub = static_cast<DWORD>(ApiRecordLong(r, kOffSubCode));
  const LONG level = ApiLevel(api);
  switch (sub) {
    case 0: {
      memset(r + kOffVersionText, 0, 32);
      memset(r + kOffInfoText, 0, kInfoRecordSize - kOffInfoText);
      if (const ModelImageHeader* image = ModelImageOfContext(ApiDriverCtx(api))) {
        char text[33] = {};
        WideCharToMultiByte(CP_ACP, 0, image->fileVersion, 16, text, 32, nullptr, nullptr);
        text[31] = 0;
        memcpy(r + kOffVersionText, text, strlen(text));
      }
      const char* from = strchr(kCoreVersionMarker, '=') + 1;
      const char* to = strchr(from, '*');
      memcpy(r + kOffInfoText, from, static_cast<size_t>(to - from));
      return kInfoRecordSize;
    }
    case 246: {
      if (level <= 12) return kInfoRecordSize;
      const LONG available = ApiIsControlAvailable(api, kUserCodeDialog, kUserCodeControl, 2);
      memcpy(r + kOffInfoValue, &available, 4);
      ApiLoadUserStrings(api, kApiUserCode);
      char code[300];
      ApiReadSettingText(api, kItem_zdmUserCode, code, sizeof(code));
      ApiPutRecordText(r, kOffInfoText, 9, code, 8);
      return kInfoRecordSize;
    }
    case 247:
      if (level >= 12) {
        ApiSetLastError(api, kApiErrInfoCode);
        return -1;
      }
      return kInfoRecordSize;
    case 248:
      return level >= 12 ? GetPunchWords(api, r) : kInfoRecordSize;
    case 249: case 250: case 251: case 252: case 253: {
      if (level < 12) return kInfoRecordSize;
      const WORD setting = InfoSetting(sub);
      const LONG value = ApiIsSettingOffered(api, setting, 0, 3) ? ApiReadLong(api, setting) : 0;
      memcpy(r + kOffInfoValue, &value, 4);
      return kInfoRecordSize;
    }
    case 254:
      if (level > 11) {
        const LONG value = ApiReadLong(api, kItem_zdmJobBinder);
        memcpy(r + kOffInfoValue, &value, 4);
      }
      return kInfoRecordSize;
    case 256:
      if (level >= 10) {
        char track[300];
        ApiReadSettingText(api, kItem_zdmTrackID, track, sizeof(track));
        ApiPutRecordText(r, kOffInfoText, 21, track, 20);
      }
      return kInfoRecordSize;
    default:
      return kInfoRecordSize;
  }
}

// ---- items 59 and 60 ----
namespace {

enum : UINT { kOffAuthMode = 4, kOffAuthName = 8, kOffAuthPassword = 265, kOffNetworkKey = 8 };

LONG AuthMode(ApiContext* api) {
  if (ApiRead(api, kItem_zdmPrnFuncAuthenticationMode) == 0) return 0;
  return ApiRead(api, kItem_zdmPrnFuncAuthenticationSecureMode) == 0 ? 1 : 2;
}

// Every byte single-byte and allowed by the mode: 1, else 0.
bool AuthCharsOk(const char* text, int mode) {
  for (const char* p = text; *p; ++p) {
    const BYTE c = static_cast<BYTE>(*p);
    if (c < 0x20 || c > 0x7E || IsDBCSLeadByte(c)) return false;
    if (mode == 1 && (c == '"' || c == ':')) return false;
  }
  return true;
}

}  // namespace

LONG ApiSetAuthUser(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (!ApiCapsPresent(api, 89) || !ApiCapsPresent(api, 90) || !ApiCapsPresent(api, 91)) return -1;
  const LONG nameMax = ApiAskCaps(api, 90, nullptr);
  const LONG passwordMax = ApiAskCaps(api, 91, nullptr);
  char name[257], password[259];
  if (!ApiRecordText(record, kOffAuthName, 257, name) || !ApiRecordText(record, kOffAuthPassword, 259, password)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  if (!AuthCharsOk(name, 1)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  const LONG nameLength = static_cast<LONG>(strlen(name));
  if (nameLength < 1 || nameLength > nameMax) return -1;
  if (ApiLevel(api) == 12 && AuthMode(api) == 2 && !password[0]) return -1;
  if (!AuthCharsOk(password, 2)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  if (static_cast<LONG>(strlen(password)) > passwordMax) return -1;
  if (!WriteUserText(api, kItem_wdmAuthenticationUserName, name, kApiUserAuthName)) return -1;
  return WriteUserText(api, kItem_wdmAuthenticationPassword, password, kApiUserAuthPassword) ? 1 : -1;
}

LONG ApiGetAuthUser(ApiContext* api, DWORD id, void* record, DWORD) {
  const LONG size = static_cast<LONG>(ApiRecordSize(id, 1));
  if (!record) return size;
  const LONG mode = AuthMode(api);
  memcpy(static_cast<BYTE*>(record) + kOffAuthMode, &mode, 4);
  return size;
}

LONG ApiSetNetworkKey(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const LONG caps = ApiAskCaps(api, 82, nullptr);
  if (caps == -1 || caps == 0) return -1;
  if (!SystemMayStore()) {
    ApiSetLastError(api, kApiErrStore);
    return -1;
  }
  const LONG mode = ApiRecordLong(record, kOffAuthMode);
  if (mode < 0 || mode > 2 || (mode == 2 && caps < 2)) return -1;
  char key[33] = {};
  if (mode == 2) {
    const BYTE* text = static_cast<const BYTE*>(record) + kOffNetworkKey;
    int n = 0;
    for (; n < 33 && text[n]; ++n)
      if (text[n] < 0x20 || text[n] > 0x7E) {
        ApiSetLastError(api, kApiErrCharacters);
        return -1;
      }
    if (n > 32) return -1;
    memcpy(key, text, static_cast<size_t>(n));
  }
  DriverContext* ctx = ApiDriverCtx(api);
  SettingItem* modeRow = ItemFind(ctx, kItem_zdmPrnFuncAuthenticationMode);
  SettingItem* secureRow = ItemFind(ctx, kItem_zdmPrnFuncAuthenticationSecureMode);
  if (!modeRow || !secureRow) return -1;
  const LONG_PTR oldMode = ApiRead(api, kItem_zdmPrnFuncAuthenticationMode);
  const LONG_PTR oldSecure = ApiRead(api, kItem_zdmPrnFuncAuthenticationSecureMode);
  ApiWrite(api, kItem_zdmPrnFuncAuthenticationMode, mode >= 1 ? 1 : 0);
  ApiWrite(api, kItem_zdmPrnFuncAuthenticationSecureMode, mode == 2 ? 1 : 0);
  const bool first = ApiJournalItem(api, modeRow, nullptr) && StoreWriteItemPrinterData(api->printer, ctx, modeRow);
  const bool second = first && ApiJournalItem(api, secureRow, nullptr) &&
                      StoreWriteItemPrinterData(api->printer, ctx, secureRow);
  if (!second) {
    ApiWrite(api, kItem_zdmPrnFuncAuthenticationMode, oldMode);
    ApiWrite(api, kItem_zdmPrnFuncAuthenticationSecureMode, oldSecure);
    if (first) StoreWriteItemPrinterData(api->printer, ctx, modeRow);
    return -1;
  }
  if (mode == 2 && !WriteUserText(api, kItem_wdmAuthenticationNetworkKey, key, kApiUserAuthNetworkKey)) return -1;
  return 1;
}

LONG ApiVerifyNetworkKey(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  const LONG on = ApiRead(api, kItem_zdmPrnFuncAuthenticationMode) != 0;
  const LONG secure = ApiRead(api, kItem_zdmPrnFuncAuthenticationSecureMode) != 0;
  switch (ApiRecordLong(record, kOffAuthMode)) {
    case 0: return !on && !secure ? 1 : -1;
    case 1: return on && !secure ? 1 : -1;
    case 2: return on && secure ? 1 : -1;
    default: return 1;
  }
}

LONG ApiGetNetworkKey(ApiContext* api, DWORD id, void* record, DWORD) {
  const LONG size = static_cast<LONG>(ApiRecordSize(id, 1));
  if (!record) return size;
  const LONG mode = AuthMode(api);
  memcpy(static_cast<BYTE*>(record) + kOffAuthMode, &mode, 4);
  return size;
}
