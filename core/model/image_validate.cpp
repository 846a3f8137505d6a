// Structural check of a stored image. Every link is followed the way the fix-up and the
// readers follow it; each record takes its bytes in a map of one bit per image byte, texts and
// judges mark their starts in a map per kind, and the rules-list records (and texts of a given
// length) are kept by start with their kind, so a second link to a record is either a share the
// builder makes (judges, rules lists, texts: the same start and kind) or a refusal, and a list
// that comes back to one of its own records is refused instead of looping. The bookkeeping is
// half the image's size in bits and a few words per rules-list record, kept for the process:
// a load neither allocates nor zeroes several times the image's size.
#include "core/model/image_validate.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "core/model/model_image.h"
#include "core/rules/model_rules.h"

namespace {

// Conditional command blocks nest no deeper than the parser reads them.
constexpr int kMaxBlockDepth = 64;
// Every type bit the parser can combine.
constexpr WORD kTypeBits = 0x001F | 0x0700 | kModelTypeFlags;
// Item slots in the header: ids 1-696, 10001-10434 and 697-1543, in three arrays that
// stand one after the other.
constexpr DWORD kModelSlotCount = 696 + 434 + 847;
static_assert(offsetof(ModelImageHeader, slotsExt) == offsetof(ModelImageHeader, slotsLow) + 696 * 4 &&
                  offsetof(ModelImageHeader, slotsHigh) == offsetof(ModelImageHeader, slotsExt) + 434 * 4 &&
                  sizeof(ModelImageHeader::slotsHigh) == 847 * 4,
              "header: the slot arrays are contiguous");

// Kinds of the records that more than one link may reach and that the share table keeps
// (texts and judges have maps of their starts).
enum Kind : BYTE {
  kLengthText = 1, kValueRule, kAlert, kAlertAction, kTransact, kAction,
};

enum Claimed { kFailed, kNew, kSeen };

// The image's bytes that records hold, one bit per byte: a record is taken only where no
// other record is. The words are the workspace's, zeroed for each check.
class ByteMap {
 public:
  // The map starts with [0, floor) taken: no record may start there.
  void Attach(DWORD* words, DWORD floor) {
    words_ = words;
    floor_ = floor;
  }
  bool Has(DWORD at) const { return (words_[at / 32] >> (at % 32)) & 1; }
  void Mark(DWORD at) { words_[at / 32] |= 1u << (at % 32); }
  // Takes [off, off + size) when all of it is free; false otherwise, with part of it perhaps
  // taken (a failed claim fails the whole check). size is at least 1.
  bool Take(DWORD off, DWORD size) {
    if (off < floor_) return false;
    const DWORD last = off + size - 1;
    DWORD* first = words_ + off / 32;
    DWORD* end = words_ + last / 32;
    const DWORD low = ~0u << (off % 32), high = ~0u >> (31 - last % 32);
    if (first == end) {
      if (*first & low & high) return false;
      *first |= low & high;
      return true;
    }
    if (*first & low) return false;
    *first |= low;
    for (DWORD* w = first + 1; w < end; ++w) {
      if (*w) return false;
      *w = ~0u;
    }
    if (*end & high) return false;
    *end |= high;
    return true;
  }

 private:
  DWORD* words_ = nullptr;
  DWORD floor_ = 0;
};

// The records others may share (judges, rules-list records, texts), in the order of their
// claims, with an open-addressed table of them by start. A record's place is also its age: a
// list walk knows its own records as those claimed since it began. Kept between checks: a
// reset empties only the slots its records took.
class ShareTable {
 public:
  struct Claim {
    DWORD off;
    DWORD size;  // the largest size claimed at this start
    BYTE kind;
    DWORD slot;  // where the table keeps it
  };
  ShareTable() : slots_(kInitialSlots, Slot{0, 0}) {}
  void Reset() {
    for (const Claim& c : claims_) slots_[c.slot].off = 0;
    claims_.clear();
  }
  // The place of the record at this start, or -1.
  LONG Find(DWORD off) const {
    for (DWORD i = Hash(off);; i = (i + 1) & mask_) {
      if (slots_[i].off == off) return static_cast<LONG>(slots_[i].place);
      if (slots_[i].off == 0) return -1;
    }
  }
  LONG Add(DWORD off, DWORD size, BYTE kind) {
    if ((claims_.size() + 1) * 2 > slots_.size()) Grow();
    claims_.push_back({off, size, kind, 0});
    const DWORD place = static_cast<DWORD>(claims_.size() - 1);
    Place(off, place);
    return static_cast<LONG>(place);
  }
  Claim& At(LONG place) { return claims_[static_cast<size_t>(place)]; }
  LONG Count() const { return static_cast<LONG>(claims_.size()); }

 private:
  struct Slot {
    DWORD off;  // 0: empty (no record starts at 0, the header is there)
    DWORD place;
  };
  static constexpr DWORD kInitialSlots = 1024;
  DWORD Hash(DWORD off) const { return (off * 0x9E3779B1u) >> shift_; }
  void Place(DWORD off, DWORD place) {
    DWORD i = Hash(off);
    while (slots_[i].off != 0) i = (i + 1) & mask_;
    slots_[i] = {off, place};
    claims_[place].slot = i;
  }
  void Grow() {
    std::vector<Slot> old(slots_.size() * 2, Slot{0, 0});
    old.swap(slots_);
    mask_ = static_cast<DWORD>(slots_.size()) - 1;
    --shift_;
    for (const Slot& slot : old)
      if (slot.off) Place(slot.off, slot.place);
  }
  std::vector<Slot> slots_;
  std::vector<Claim> claims_;
  DWORD mask_ = kInitialSlots - 1;
  int shift_ = 22;  // 32 - log2 of the slot count
};

struct ValueLink {
  DWORD off;
  ModelValueShape shape;
};

// A check's bookkeeping. One is kept for the process and reused, so that a load neither
// allocates nor clears more than its image needs; a check that finds it in use by another
// thread makes its own.
struct Workspace {
  std::vector<DWORD> maps;    // the four byte maps, one after the other
  ShareTable shared;          // shareable records
  std::vector<ValueLink> values;
  std::vector<DWORD> variants;
  // Zeroed maps of `words` words each; the tables emptied of the last check's records.
  DWORD* Prepare(DWORD words) {
    if (maps.size() < words * 4) maps.resize(words * 4);
    memset(maps.data(), 0, words * 4 * sizeof(DWORD));
    shared.Reset();
    values.clear();
    variants.clear();
    return maps.data();
  }
};

Workspace g_workspace;
LONG g_workspaceBusy = 0;
// Images up to this size use the kept workspace; a larger one (far beyond what a model
// makes) gets its own, freed after the check, so the process does not keep its size.
constexpr DWORD kKeptWorkspaceImage = 4u << 20;

class Validator {
 public:
  Validator(const BYTE* b, DWORD n, Workspace* w)
      : b_(b), n_(n), shared_(w->shared), values_(w->values), variants_(w->variants) {
    const DWORD words = n / 32 + 1;
    DWORD* maps = w->Prepare(words);
    // The header holds the first bytes: no record starts inside it.
    taken_.Attach(maps, sizeof(ModelImageHeader));
    textStarts_.Attach(maps + words, 0);
    wideStarts_.Attach(maps + 2 * words, 0);
    judgeStarts_.Attach(maps + 3 * words, 0);
  }

  bool Run();

 private:
  DWORD Dword(DWORD off) const {
    DWORD v;
    memcpy(&v, b_ + off, 4);
    return v;
  }
  WORD Word(DWORD off) const {
    WORD v;
    memcpy(&v, b_ + off, 2);
    return v;
  }
  bool Fits(DWORD off, DWORD size) const { return off <= n_ && size <= n_ - off; }

  // A shareable record at off: new, seen before (a share: the same start and kind), or
  // failed (outside the image, or on bytes another record holds). A share may be longer than
  // the first claim (texts of a given length): it takes the rest.
  Claimed Claim(DWORD off, DWORD size, Kind k) {
    if (off == 0 || size == 0 || !Fits(off, size)) return kFailed;
    last_ = shared_.Find(off);
    if (last_ >= 0) {
      ShareTable::Claim& c = shared_.At(last_);
      if (c.kind != k) return kFailed;
      if (size > c.size) {
        if (!taken_.Take(off + c.size, size - c.size)) return kFailed;
        c.size = size;
      }
      return kSeen;
    }
    if (!taken_.Take(off, size)) return kFailed;
    last_ = shared_.Add(off, size, k);
    return kNew;
  }
  // Texts and judges end where their bytes say, so a second link to the same start is the
  // same record: a bit of its kind's map of starts says so. This takes the bytes of one not
  // seen yet, [off, off + size) inside the image.
  bool ClaimStart(ByteMap* starts, DWORD off, DWORD size) {
    if (!taken_.Take(off, size)) return false;
    starts->Mark(off);
    return true;
  }
  // A plain link to a record of `size` bytes on a multiple of 4, no other link's; 0 when it
  // fails.
  DWORD Record(DWORD link, DWORD size) {
    if (link % 4 != 0 || link == 0 || size == 0 || !Fits(link, size)) return 0;
    return taken_.Take(link, size) ? link : 0;
  }
  // Offset of a rules-section link (offset x 16 + 1, the offset a multiple of 4); 0 fails.
  static DWORD RuleOffset(DWORD link) {
    if ((link & 15) != 1) return 0;
    DWORD off = link >> 4;
    return off % 4 == 0 ? off : 0;
  }

  bool Text(DWORD link) {
    if (!link) return true;
    if (link >= n_) return false;
    if (textStarts_.Has(link)) return true;  // a shared text, measured when first claimed
    const void* end = memchr(b_ + link, 0, n_ - link);
    if (!end) return false;
    return ClaimStart(&textStarts_, link, static_cast<DWORD>(static_cast<const BYTE*>(end) - (b_ + link)) + 1);
  }
  bool WideText(DWORD link) {
    if (!link) return true;
    if (link % 2 != 0 || link >= n_) return false;
    if (wideStarts_.Has(link)) return true;
    for (DWORD at = link; at + 2 <= n_; at += 2)
      if (Word(at) == 0) return ClaimStart(&wideStarts_, link, at + 2 - link);
    return false;
  }
  bool Judge(DWORD link) {
    if (!link) return true;
    DWORD off = RuleOffset(link);
    if (!off || off >= n_) return false;
    if (judgeStarts_.Has(off)) return true;  // a shared judge, validated when first claimed
    for (DWORD i = 0; i < kJudgeMaxCells; ++i) {
      DWORD at = off + i * 4;
      if (!Fits(at, 4)) return false;
      if (Word(at) == kJudgeOperator && Word(at + 2) == kJudgeOpEnd)
        return ClaimStart(&judgeStarts_, off, (i + 1) * 4) && JudgeValidate(reinterpret_cast<const JudgeCell*>(b_ + off));
    }
    return false;
  }

  // Walks a rules list of shareable records; check validates the fields of one record.
  // Lists of one kind never nest, so a record of the list's kind claimed since the walk began
  // is one of its own.
  template <typename Check>
  bool RuleList(DWORD link, DWORD size, Kind k, Check check) {
    const LONG walkStart = shared_.Count();
    while (link) {
      DWORD off = RuleOffset(link);
      if (!off) return false;
      Claimed c = Claim(off, size, k);
      if (c == kFailed) return false;
      if (c == kSeen) return last_ < walkStart;  // a shared tail, or a loop
      if (!check(off)) return false;
      link = Dword(off);
    }
    return true;
  }
  bool Actions(DWORD link) {
    return RuleList(link, sizeof(ActionEntry), kAction, [](DWORD) { return true; });
  }
  bool Transacts(DWORD link) {
    return RuleList(link, sizeof(TransactEntry), kTransact, [this](DWORD off) {
      return Judge(Dword(off + offsetof(TransactEntry, judge))) && Actions(Dword(off + offsetof(TransactEntry, actions)));
    });
  }
  bool Exclusives();
  bool ValueRecords(DWORD link, WORD type);
  bool Descriptors();
  bool Slots();
  // The slot of an item id, or -1 for an id without one.
  static LONG SlotOf(WORD id) {
    if (id >= 1 && id <= 696) return id - 1;
    if (id >= 10001 && id <= 10434) return 696 + (id - 10001);
    if (id >= 697 && id <= 1543) return 1130 + (id - 697);
    return -1;
  }
  DWORD SlotLink(DWORD slot) const { return Dword(offsetof(ModelImageHeader, slotsLow) + slot * 4); }
  bool Block(DWORD link, int depth);
  bool Nodes(DWORD link, int depth);
  bool Fonts(DWORD countAt, DWORD arrayAt);

  const BYTE* b_;
  DWORD n_;
  ByteMap taken_;
  ByteMap textStarts_, wideStarts_, judgeStarts_;
  ShareTable& shared_;
  LONG last_ = -1;  // place of the last shareable record claimed
  DWORD exclusiveFirst_ = 0, exclusiveCount_ = 0;
  DWORD slotsFilled_ = 0;  // slots that link to a descriptor of their item id
  std::vector<ValueLink>& values_;
  std::vector<DWORD>& variants_;  // descriptors of variant items
};

bool Validator::Exclusives() {
  DWORD at = Dword(offsetof(ModelImageHeader, exclusives));
  exclusiveFirst_ = at;
  while (at) {
    if (!Record(at, sizeof(ExclusiveRecord))) return false;
    ++exclusiveCount_;
    if (!Judge(Dword(at + offsetof(ExclusiveRecord, judgeDisabled))) ||
        !Judge(Dword(at + offsetof(ExclusiveRecord, judgeRestricted))) ||
        !Judge(Dword(at + offsetof(ExclusiveRecord, judgeLocked))))
      return false;
    bool ok = RuleList(Dword(at + offsetof(ExclusiveRecord, valueRules)), sizeof(ValueRule), kValueRule,
                       [this](DWORD off) {
                         return Judge(Dword(off + offsetof(ValueRule, judgeDisabled))) &&
                                Judge(Dword(off + offsetof(ValueRule, judgeRestricted))) &&
                                Judge(Dword(off + offsetof(ValueRule, judgeLocked)));
                       });
    ok = ok && RuleList(Dword(at + offsetof(ExclusiveRecord, alert)), sizeof(AlertRecord), kAlert, [this](DWORD off) {
      return Judge(Dword(off + offsetof(AlertRecord, judge))) &&
             RuleList(Dword(off + offsetof(AlertRecord, actions)), sizeof(AlertActionEntry), kAlertAction,
                      [this](DWORD a) { return Transacts(Dword(a + offsetof(AlertActionEntry, transact))); });
    });
    ok = ok && Transacts(Dword(at + offsetof(ExclusiveRecord, transact))) &&
         Transacts(Dword(at + offsetof(ExclusiveRecord, transactStored)));
    if (!ok) return false;
    // The records stand one after the other; the fix-up relies on it.
    DWORD next = Dword(at);
    if (next && next != at + sizeof(ExclusiveRecord)) return false;
    at = next;
  }
  return true;
}

bool Validator::ValueRecords(DWORD link, WORD type) {
  const ModelValueShape shape = ModelValueShapeOf(type);
  if (!link) return true;
  values_.push_back({link, shape});
  switch (shape) {
    case kModelShapeNone:
      return false;
    case kModelShapeBoolean:
      return Record(link, sizeof(BooleanValueRecord)) &&
             Text(Dword(link + offsetof(BooleanValueRecord, trueCommand))) &&
             Text(Dword(link + offsetof(BooleanValueRecord, falseCommand)));
    case kModelShapeNumeric:
      return Record(link, sizeof(NumericValueRecord)) != 0;
    case kModelShapeString:
      return Record(link, sizeof(StringValueRecord)) != 0;
    default:
      break;
  }
  const DWORD size = shape == kModelShapePage ? sizeof(PageValueRecord)
                     : shape == kModelShapeSlot ? sizeof(SlotValueRecord)
                     : shape == kModelShapeFontTable ? sizeof(FontTableValueRecord) : sizeof(ListValueRecord);
  for (DWORD at = link; at; at = Dword(at)) {
    if (!Record(at, size) || !Text(Dword(at + offsetof(ListValueRecord, command)))) return false;
    if (shape == kModelShapePage) {
      for (DWORD g = Dword(at + offsetof(PageValueRecord, geometry)); g; g = Dword(g))
        if (!Record(g, sizeof(PaperGeometryRecord))) return false;
    } else if (shape == kModelShapeSlot) {
      LONG count = static_cast<LONG>(Dword(at + offsetof(SlotValueRecord, paperCount)));
      DWORD papers = Dword(at + offsetof(SlotValueRecord, papers));
      if (count < 0) return false;
      if (papers && (count == 0 || static_cast<DWORD>(count) > n_ / 2 ||
                     !Record(papers, static_cast<DWORD>(count) * 2)))
        return false;
    } else if (shape == kModelShapeFontTable) {
      LONG count = static_cast<LONG>(Dword(at + offsetof(FontTableValueRecord, pairCount)));
      if (count < 0 || static_cast<DWORD>(count) > n_ / 4) return false;
      for (DWORD field : {DWORD(offsetof(FontTableValueRecord, faces)), DWORD(offsetof(FontTableValueRecord, deviceFonts))}) {
        DWORD array = Dword(at + field);
        if (!array) continue;
        if (count == 0 || !Record(array, static_cast<DWORD>(count) * 4)) return false;
        for (LONG i = 0; i < count; ++i)
          if (!Text(Dword(array + static_cast<DWORD>(i) * 4))) return false;
      }
    }
  }
  return true;
}

bool Validator::Descriptors() {
  for (DWORD at = Dword(offsetof(ModelImageHeader, descriptors)); at; at = Dword(at)) {
    if (!Record(at, sizeof(ModelItemDescriptor))) return false;
    const WORD type = Word(at + offsetof(ModelItemDescriptor, type));
    if (type & ~kTypeBits) return false;
    const LONG slot = SlotOf(Word(at + offsetof(ModelItemDescriptor, itemId)));
    if (slot >= 0 && SlotLink(static_cast<DWORD>(slot)) == at) ++slotsFilled_;
    DWORD pair = Dword(at + offsetof(ModelItemDescriptor, commands));
    if (pair && (!Record(pair, sizeof(OptionCommandPair)) || !Text(Dword(pair)) || !Text(Dword(pair + 4))))
      return false;
    DWORD exclusive = Dword(at + offsetof(ModelItemDescriptor, exclusive));
    if (exclusive && (exclusive < exclusiveFirst_ || (exclusive - exclusiveFirst_) % sizeof(ExclusiveRecord) != 0 ||
                      (exclusive - exclusiveFirst_) / sizeof(ExclusiveRecord) >= exclusiveCount_))
      return false;
    DWORD values = Dword(at + offsetof(ModelItemDescriptor, values));
    if (Word(at + offsetof(ModelItemDescriptor, variant)) != 0) {
      variants_.push_back(at);
    } else if (!ValueRecords(values, type)) {
      return false;
    }
  }
  // A variant or Identity item reads its base's records by its own type: the link must be
  // a base's, of the same shape.
  std::sort(values_.begin(), values_.end(), [](const ValueLink& a, const ValueLink& b) { return a.off < b.off; });
  for (DWORD at : variants_) {
    DWORD values = Dword(at + offsetof(ModelItemDescriptor, values));
    if (!values) continue;
    const ModelValueShape shape = ModelValueShapeOf(Word(at + offsetof(ModelItemDescriptor, type)));
    auto v = std::lower_bound(values_.begin(), values_.end(), values,
                              [](const ValueLink& x, DWORD off) { return x.off < off; });
    if (v == values_.end() || v->off != values || v->shape != shape) return false;
  }
  return true;
}

// Every filled slot links to a descriptor of its item id. The descriptor walk counted the
// slots that link back to their descriptor; each slot links to one record, so when all the
// filled slots were counted, none links anywhere else.
bool Validator::Slots() {
  const DWORD* slots = reinterpret_cast<const DWORD*>(b_ + offsetof(ModelImageHeader, slotsLow));
  DWORD filled = 0;
  const DWORD* const end = slots + kModelSlotCount;
  // Eight at a time: most of them are empty.
  for (; end - slots >= 8; slots += 8) {
    if ((slots[0] | slots[1] | slots[2] | slots[3] | slots[4] | slots[5] | slots[6] | slots[7]) == 0) continue;
    for (int i = 0; i < 8; ++i) filled += slots[i] != 0;
  }
  for (; slots < end; ++slots) filled += *slots != 0;
  return filled == slotsFilled_;
}

bool Validator::Nodes(DWORD link, int depth) {
  for (DWORD at = link; at; at = Dword(at)) {
    if (at % 4 != 0 || !Fits(at, sizeof(CommandNode))) return false;
    const WORD kind = Word(at + offsetof(CommandNode, kind));
    DWORD size = kind == kCommandNodeItem ? sizeof(ItemCommandNode)
                 : kind == kCommandNodeString ? sizeof(StringCommandNode)
                 : kind == kCommandNodeConditional ? sizeof(ConditionalCommandNode)
                 : kind == kCommandNodeFont ? sizeof(CommandNode) : 0;
    if (!size || !Record(at, size)) return false;
    if (kind == kCommandNodeString) {
      // The builder keeps the text's length (texts may hold NUL bytes) in the number.
      DWORD text = Dword(at + offsetof(StringCommandNode, text));
      LONG length = static_cast<LONG>(Dword(at + offsetof(StringCommandNode, number)));
      if (text && (length <= 0 || Claim(text, static_cast<DWORD>(length), kLengthText) == kFailed))
        return false;
    } else if (kind == kCommandNodeConditional) {
      DWORD block = Dword(at + offsetof(ConditionalCommandNode, block));
      if (block && !Block(block, depth + 1)) return false;
    }
  }
  return true;
}

bool Validator::Block(DWORD link, int depth) {
  if (depth > kMaxBlockDepth || !Record(link, sizeof(CommandBlock))) return false;
  return Judge(Dword(link)) && Nodes(Dword(link + offsetof(CommandBlock, thenList)), depth) &&
         Nodes(Dword(link + offsetof(CommandBlock, elseList)), depth);
}

bool Validator::Fonts(DWORD countAt, DWORD arrayAt) {
  LONG count = static_cast<LONG>(Dword(countAt));
  DWORD array = Dword(arrayAt);
  if (count < 0 || static_cast<DWORD>(count) > n_ / 4) return false;
  if (!array) return true;
  if (count == 0 || !Record(array, static_cast<DWORD>(count) * 4)) return false;
  for (LONG i = 0; i < count; ++i) {
    DWORD entry = Dword(array + static_cast<DWORD>(i) * 4);
    if (entry && (!Record(entry, sizeof(FontListEntry)) || !Text(Dword(entry + offsetof(FontListEntry, name)))))
      return false;
  }
  return true;
}

bool Validator::Run() {
  if (n_ <= sizeof(ModelImageHeader) || n_ > kModelCacheMaxSize || Dword(offsetof(ModelImageHeader, totalSize)) != n_)
    return false;
  bool versionEnds = false;
  for (DWORD i = 0; i < 16; ++i) versionEnds = versionEnds || Word(i * 2) == 0;
  if (!versionEnds) return false;
  if (!Exclusives() || !Descriptors() || !Slots()) return false;
  if (!WideText(Dword(offsetof(ModelImageHeader, uiResDllName))) ||
      !WideText(Dword(offsetof(ModelImageHeader, excDepDllName))))
    return false;
  for (DWORD field : {offsetof(ModelImageHeader, jobStart), offsetof(ModelImageHeader, jobEnd),
                      offsetof(ModelImageHeader, docReset), offsetof(ModelImageHeader, pageStart),
                      offsetof(ModelImageHeader, pageEnd)}) {
    DWORD block = Dword(field);
    if (block && !Block(block, 0)) return false;
  }
  return Fonts(offsetof(ModelImageHeader, deviceFontCount), offsetof(ModelImageHeader, deviceFonts)) &&
         Fonts(offsetof(ModelImageHeader, cartridgeCount), offsetof(ModelImageHeader, cartridges));
}

}  // namespace

int ModelValidateStoredImage(const BYTE* bytes, DWORD size) {
  if (!bytes || size <= sizeof(ModelImageHeader) || size > kModelCacheMaxSize) return 0;
  if (reinterpret_cast<UINT_PTR>(bytes) % 4 != 0) return 0;
  // The process's workspace, unless another thread's check holds it.
  struct Hold {
    bool own;
    ~Hold() {
      if (own) InterlockedExchange(&g_workspaceBusy, 0);
    }
  } hold = {size <= kKeptWorkspaceImage && InterlockedCompareExchange(&g_workspaceBusy, 1, 0) == 0};
  std::unique_ptr<Workspace> local(hold.own ? nullptr : new (std::nothrow) Workspace);
  if (!hold.own && !local) return 0;
  Validator v(bytes, size, hold.own ? &g_workspace : local.get());
  return v.Run() ? 1 : 0;
}
