// The all-capabilities record: every capability that belongs to a status item the application
// may use, fetched through the ordinary capability dispatch into one global block.
#include <string.h>

#include <atomic>
#include <map>
#include <set>

#include "core/items/item_ids.h"
#include "exclude/api/api_allcaps.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"

namespace {

enum EntryKind : BYTE {
  kValue,   // i32: the answer
  kPair16,  // two u16 written by the capability
  kPair32,  // two i32 written by the capability
  kList,    // i32 count, then the address of count x size bytes
};

struct Entry {
  WORD offset;
  DWORD caps;
  EntryKind kind;
  WORD size;      // bytes of one list entry
  WORD status;    // the status item whose bit decides
  BYTE minLevel;  // 0: none
};

// In the order the record is filled.
constexpr Entry kEntries[] = {
    {4, 1, kValue, 0, 1, 0},        {8, 2, kList, 4, 2, 0},         {16, 3, kList, 24, 2, 0},
    {24, 4, kList, 4, 3, 0},        {32, 5, kList, 64, 3, 0},       {804, 127, kList, 260, 3, 16},
    {40, 6, kList, 4, 4, 0},        {48, 7, kList, 64, 4, 0},       {56, 8, kValue, 0, 5, 0},
    {708, 107, kList, 4, 5, 14},    {60, 9, kValue, 0, 6, 0},       {64, 10, kList, 4, 7, 0},
    {72, 11, kList, 64, 7, 0},      {80, 12, kList, 8, 7, 0},       {88, 13, kPair16, 0, 7, 0},
    {92, 14, kPair16, 0, 7, 0},     {784, 124, kPair32, 0, 7, 16},  {792, 125, kPair32, 0, 7, 16},
    {96, 15, kList, 4, 8, 0},       {104, 16, kList, 64, 8, 0},     {112, 17, kValue, 0, 9, 0},
    {116, 18, kList, 4, 10, 0},     {124, 19, kValue, 0, 11, 0},    {128, 20, kPair16, 0, 11, 0},
    {132, 21, kPair16, 0, 11, 0},   {136, 22, kValue, 0, 12, 0},    {140, 23, kValue, 0, 13, 0},
    {144, 24, kValue, 0, 14, 0},    {692, 105, kList, 4, 14, 14},   {700, 106, kList, 4, 14, 14},
    {148, 25, kValue, 0, 15, 0},    {152, 26, kValue, 0, 15, 0},    {156, 27, kValue, 0, 15, 0},
    {160, 28, kValue, 0, 15, 0},    {164, 29, kValue, 0, 15, 0},    {676, 103, kList, 4, 15, 14},
    {684, 104, kList, 4, 15, 14},   {168, 30, kList, 4, 16, 0},     {176, 31, kValue, 0, 17, 0},
    {180, 32, kList, 4, 17, 0},     {188, 33, kList, 64, 17, 0},    {196, 34, kValue, 0, 18, 0},
    {200, 35, kValue, 0, 18, 0},    {204, 36, kValue, 0, 18, 0},    {208, 37, kValue, 0, 18, 0},
    {212, 38, kValue, 0, 18, 0},    {216, 39, kList, 4, 19, 0},     {224, 40, kList, 4, 20, 0},
    {232, 41, kList, 4, 21, 0},     {240, 42, kValue, 0, 22, 0},    {244, 43, kValue, 0, 23, 0},
    {248, 44, kValue, 0, 24, 0},    {252, 45, kList, 4, 25, 0},     {260, 46, kValue, 0, 26, 0},
    {264, 47, kList, 4, 27, 0},     {272, 48, kValue, 0, 28, 0},    {668, 101, kValue, 0, 28, 14},
    {672, 102, kValue, 0, 28, 14},  {276, 49, kValue, 0, 29, 0},    {280, 50, kValue, 0, 30, 0},
    {284, 51, kValue, 0, 31, 0},    {288, 52, kValue, 0, 32, 0},    {292, 53, kValue, 0, 33, 0},
    {296, 54, kList, 4, 34, 0},     {304, 55, kValue, 0, 35, 0},    {308, 56, kList, 4, 13, 0},
    {316, 57, kValue, 0, 36, 0},
    // from level 6
    {320, 66, kList, 4, 20, 6},     {328, 67, kList, 4, 21, 6},     {336, 60, kValue, 0, 38, 6},
    {340, 257, kValue, 0, 257, 6},  {344, 61, kList, 4, 39, 6},     {352, 62, kValue, 0, 40, 6},
    {356, 258, kValue, 0, 40, 6},   {360, 259, kValue, 0, 40, 6},   {364, 63, kValue, 0, 41, 6},
    {368, 260, kValue, 0, 41, 6},   {372, 261, kValue, 0, 41, 6},   {376, 64, kValue, 0, 42, 6},
    {380, 262, kValue, 0, 42, 6},   {384, 263, kValue, 0, 42, 6},   {388, 65, kValue, 0, 43, 6},
    {392, 264, kValue, 0, 43, 6},   {396, 265, kValue, 0, 43, 6},   {432, 270, kValue, 0, 258, 6},
    {400, 266, kList, 4, 259, 6},   {408, 267, kList, 64, 259, 6},  {416, 268, kList, 4, 260, 6},
    {424, 269, kList, 64, 260, 6},  {436, 271, kList, 4, 261, 6},   {444, 272, kList, 64, 261, 6},
    {452, 69, kValue, 0, 45, 6},    {456, 273, kValue, 0, 263, 6},  {460, 274, kValue, 0, 264, 6},
    {464, 275, kList, 4, 264, 6},   {472, 70, kValue, 0, 46, 6},    {476, 71, kValue, 0, 47, 6},
    {480, 72, kValue, 0, 48, 6},    {484, 73, kValue, 0, 49, 6},    {488, 74, kValue, 0, 50, 6},
    {492, 75, kList, 4, 51, 6},     {500, 76, kValue, 0, 19, 6},    {504, 77, kList, 4, 16, 6},
    {512, 78, kValue, 0, 16, 6},    {516, 79, kValue, 0, 47, 6},    {520, 80, kValue, 0, 52, 6},
    {524, 81, kValue, 0, 53, 6},    {528, 82, kValue, 0, 54, 6},    {600, 84, kValue, 0, 55, 6},
    {584, 85, kList, 4, 56, 6},     {592, 86, kList, 64, 56, 6},    {604, 87, kValue, 0, 57, 6},
    {608, 88, kValue, 0, 58, 6},    {612, 89, kValue, 0, 59, 6},    {616, 90, kValue, 0, 59, 6},
    {620, 91, kValue, 0, 59, 6},    {624, 92, kList, 4, 60, 6},     {632, 93, kList, 4, 61, 6},
    {640, 94, kValue, 0, 62, 6},    {644, 95, kValue, 0, 63, 6},    {648, 96, kValue, 0, 64, 6},
    {652, 97, kValue, 0, 65, 6},    {656, 98, kValue, 0, 66, 6},    {660, 99, kValue, 0, 67, 6},
    {664, 100, kValue, 0, 67, 6},   {716, 108, kValue, 0, 68, 6},   {720, 109, kList, 4, 68, 6},
    {728, 110, kValue, 0, 69, 6},   {732, 111, kValue, 0, 70, 6},   {736, 112, kValue, 0, 71, 6},
    {740, 113, kValue, 0, 71, 6},   {744, 114, kValue, 0, 71, 6},   {748, 115, kValue, 0, 71, 6},
    {752, 116, kValue, 0, 71, 6},   {756, 117, kValue, 0, 72, 6},   {760, 118, kValue, 0, 73, 6},
    {764, 119, kValue, 0, 74, 6},   {768, 120, kValue, 0, 75, 6},   {772, 121, kValue, 0, 76, 6},
    {776, 122, kValue, 0, 77, 6},   {780, 123, kValue, 0, 78, 6},   {532, 83, kValue, 0, 10, 6},
    {536, 276, kValue, 0, 265, 6},  {540, 277, kList, 4, 266, 6},   {548, 278, kList, 4, 267, 6},
    {556, 279, kList, 64, 267, 6},  {564, 280, kValue, 0, 268, 6},  {568, 281, kList, 4, 269, 6},
    {576, 282, kList, 64, 269, 6},  {800, 126, kValue, 0, 79, 6},
};

// Records issued and not yet freed, per context handle.
std::atomic_flag g_lock = ATOMIC_FLAG_INIT;
struct Lock {
  Lock() {
    while (g_lock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Lock() { g_lock.clear(std::memory_order_release); }
};
std::map<DWORD, std::set<void*>>& Issued() {
  static std::map<DWORD, std::set<void*>> issued;
  return issued;
}

void* Allocate(SIZE_T bytes) { return GlobalAlloc(GPTR, bytes); }

void PutAddress(BYTE* record, UINT offset, const void* block) {
  ApiPutRecordLong(record, offset, static_cast<LONG>(reinterpret_cast<UINT_PTR>(block)));
}
void* GetAddress(const BYTE* record, UINT offset) {
  return reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<DWORD>(ApiRecordLong(record, offset))));
}

// Frees the bitmap, every array and the record itself.
void FreeRecord(BYTE* record) {
  if (!record) return;
  if (void* bitmap = GetAddress(record, 0)) GlobalFree(bitmap);
  for (const Entry& e : kEntries)
    if (e.kind == kList)
      if (void* block = GetAddress(record, e.offset + 4u)) GlobalFree(block);
  GlobalFree(record);
}

// Fills one entry: false fails the record.
bool Fill(ApiContext* api, BYTE* record, const Entry& e, bool driverType1) {
  switch (e.kind) {
    case kValue:
      ApiPutRecordLong(record, e.offset, ApiAskCaps(api, e.caps, nullptr));
      return true;
    case kPair16:
    case kPair32: {
      BYTE pair[8] = {};
      ApiAskCaps(api, e.caps, pair);
      memcpy(record + e.offset, pair, e.kind == kPair16 ? 4 : 8);
      return true;
    }
    case kList: {
      const LONG count = ApiAskCaps(api, e.caps, nullptr);
      if (count == 0) return true;
      if (count < 0) return e.caps == 45 && driverType1;
      void* block = Allocate(static_cast<SIZE_T>(count) * e.size);
      if (!block) return false;
      LONG filled = 0;
      {
        ApiCapsRoom room(count);  // a list grown since the count fails, never overruns
        filled = ApiAskCaps(api, e.caps, block);
      }
      if (filled < 1 || filled > count) {
        GlobalFree(block);
        return false;
      }
      ApiPutRecordLong(record, e.offset, filled);
      PutAddress(record, e.offset + 4u, block);
      return true;
    }
  }
  return false;
}

bool Build(ApiContext* api, BYTE* record) {
  void* handle = reinterpret_cast<void*>(static_cast<UINT_PTR>(api->handle));
  const LONG_PTR size = ApiExportGetCaps(handle, 0, nullptr);
  if (size <= 0) return false;
  auto* bitmap = static_cast<BYTE*>(Allocate(static_cast<SIZE_T>(size)));
  if (!bitmap) return false;
  PutAddress(record, 0, bitmap);
  if (ApiExportGetCaps(handle, 0, bitmap) < 1) return false;
  const UINT bytes = static_cast<UINT>(size);
  const LONG level = ApiLevel(api);
  const bool driverType1 = ApiRead(api, kItem_zdmDriverType) == 1;
  for (const Entry& e : kEntries) {
    if (e.minLevel && level < e.minLevel) continue;
    if (!ApiBitmapTest(bitmap, bytes, e.status)) continue;
    // Entries that only mean something when their lead capability answered.
    if ((e.caps == 32 || e.caps == 33) && ApiRecordLong(record, 176) == 0) continue;
    if (e.caps >= 35 && e.caps <= 38 && ApiRecordLong(record, 196) == 0) {
      ApiPutRecordLong(record, e.offset, 0);
      continue;
    }
    if (e.caps >= 113 && e.caps <= 116 && ApiRecordLong(record, 736) == 0) {
      ApiPutRecordLong(record, e.offset, 0);
      continue;
    }
    if (!Fill(api, record, e, driverType1)) return false;
  }
  return true;
}

}  // namespace

void* ApiGetAllCaps(ApiContext* api) {
  if (!api) return nullptr;
  auto* record = static_cast<BYTE*>(Allocate(kAllCapsRecordBytes));
  if (record && Build(api, record)) {
    Lock lock;
    Issued()[api->handle].insert(record);
    return record;
  }
  FreeRecord(record);
  ApiSetLastError(api, kApiErrInternal);
  return nullptr;
}

LONG ApiFreeAllCaps(ApiContext* api, void* record) {
  if (!record) return 1;
  if (!api) return 0;
  {
    Lock lock;
    auto context = Issued().find(api->handle);
    if (context == Issued().end() || !context->second.erase(record)) return 0;
  }
  FreeRecord(static_cast<BYTE*>(record));
  return 1;
}
