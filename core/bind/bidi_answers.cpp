// Reading the communication library's answers, bounded by the buffers the driver hands out.
#include "core/bind/bidi_answers.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"

BidiAnswer::~BidiAnswer() { MemFree(data_); }

DWORD BidiAnswer::Word(DWORD i) const {
  if (!data_ || i >= bytes_ / 4) return 0;
  DWORD value;
  memcpy(&value, data_ + i * 4, 4);
  return value;
}

DWORD BidiAnswer::BoundedCount() const {
  if (entries_ <= 0) return 0;
  DWORD held = bytes_ / 4;
  return DWORD(entries_) < held ? DWORD(entries_) : held;
}

bool BidiAnswer::Allocate(DWORD needed, DWORD minBytes) {
  MemFree(data_);
  data_ = nullptr;
  bytes_ = 0;
  needed_ = needed;
  if (needed > kBidiMaxAnswerBytes) return false;
  DWORD size = needed < minBytes ? minBytes : needed;
  data_ = static_cast<BYTE*>(MemAllocZero(size));
  if (!data_) return false;
  bytes_ = size;
  return true;
}

BidiRead BidiAnswer::ReadInformation(const BidiFuncTable* table, HANDLE query, DWORD code, DWORD minBytes) {
  if (!table || !table->getInformation) return BidiRead::kFailed;
  DWORD needed = 0;
  table->getInformation(query, code, nullptr, 0, &needed);
  if (needed == 0) return BidiRead::kEmpty;
  if (!Allocate(needed, minBytes)) return BidiRead::kNoMemory;
  DWORD again = 0;
  entries_ = table->getInformation(query, code, data_, bytes_, &again);
  return entries_ == -1 ? BidiRead::kFailed : BidiRead::kRead;
}

BidiRead BidiAnswer::ReadGroupItem(const BidiFuncTable* table, HANDLE group, DWORD item, DWORD minBytes) {
  if (!table || !table->getGroupItem) return BidiRead::kFailed;
  DWORD needed = 0;
  // The size query is judged by the last error as well: clear it, so that a stale 5 is never
  // taken for the library's answer.
  SetLastError(0);
  BOOL sized = table->getGroupItem(group, kBidiGroupId, item, nullptr, 0, &needed);
  if (!sized && GetLastError() != kBidiSizeQueryDenied) return BidiRead::kEmpty;
  if (needed == 0) return BidiRead::kEmpty;
  if (!Allocate(needed, minBytes)) return BidiRead::kNoMemory;
  DWORD again = 0;
  if (!table->getGroupItem(group, kBidiGroupId, item, data_, bytes_, &again)) return BidiRead::kFailed;
  entries_ = 1;
  return BidiRead::kRead;
}

void BidiStoreText(DriverContext* ctx, WORD id, const BYTE* text, DWORD bytes) {
  SettingItem* row = ItemFind(ctx, id);
  BYTE* target = row ? ItemStoragePtr(ctx, row) : nullptr;
  const UINT size = row ? ItemDescSize(row->descriptor) : 0;
  if (!target || size == 0) return;
  DWORD keep = 0;
  while (text && keep < bytes && keep + 1 < size && text[keep] != 0) ++keep;
  memset(target, 0, size);
  if (keep) memcpy(target, text, keep);
}
