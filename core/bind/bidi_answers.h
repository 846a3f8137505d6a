// Reading the communication library's answers: a size query, then a zeroed buffer of that
// size and the real call. Shared by the tray and option steps and the acquisition.
#pragma once
#include "core/bind/bidi_acquire.h"
#include "platform/win32.h"

struct SettingItem;

// The largest answer the driver takes (a size claim above it counts as an allocation that
// failed): far above any list of 32 trays or a version text.
constexpr DWORD kBidiMaxAnswerBytes = 0x10000;

enum class BidiRead {
  kEmpty,     // size 0: nothing to change
  kRead,      // data holds the answer
  kNoMemory,  // the buffer could not be had
  kFailed,    // the second call failed: nothing to change
};

// One answer: its zeroed buffer (bytes long) and the entry count the call returned.
class BidiAnswer {
 public:
  BidiAnswer() = default;
  ~BidiAnswer();
  BidiAnswer(const BidiAnswer&) = delete;
  BidiAnswer& operator=(const BidiAnswer&) = delete;

  const BYTE* data() const { return data_; }
  DWORD bytes() const { return bytes_; }
  LONG entries() const { return entries_; }
  // The size the size query asked for.
  DWORD neededBytes() const { return needed_; }
  // The i-th u32 of the answer; 0 beyond its bytes (a list shorter than expected).
  DWORD Word(DWORD i) const;
  // Entries that both the call's count and the buffer's size hold.
  DWORD BoundedCount() const;

  // Information `code` through slot 6; minBytes is the least buffer size.
  BidiRead ReadInformation(const BidiFuncTable* table, HANDLE query, DWORD code, DWORD minBytes);
  // Group item `item` through slot 7.
  BidiRead ReadGroupItem(const BidiFuncTable* table, HANDLE group, DWORD item, DWORD minBytes);

 private:
  bool Allocate(DWORD needed, DWORD minBytes);
  BYTE* data_ = nullptr;
  DWORD bytes_ = 0;
  LONG entries_ = 0;
  DWORD needed_ = 0;
};

// Copies answer text into a narrow text item: cut to the item's size less its terminator and
// zero-padded. Nothing happens for a missing item.
void BidiStoreText(DriverContext* ctx, WORD id, const BYTE* text, DWORD bytes);
