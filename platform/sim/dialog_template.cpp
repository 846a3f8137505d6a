// DIALOGEX layout: a header (version 1, signature 0xFFFF, help id, extended style, style, item
// count, position and size), menu, class and title (each empty, an ordinal or a text), the
// font when DS_SETFONT is set, then the items, each on a 4-byte boundary of the template.
#include "platform/sim/dialog_template.h"

namespace winsim {
namespace {

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : p_(bytes), size_(size) {}
  bool Word(WORD* v) {
    if (size_ < 2 || at_ > size_ - 2) return false;
    *v = WORD(p_[at_] | (p_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  bool Dword(DWORD* v) {
    WORD lo = 0, hi = 0;
    if (!Word(&lo) || !Word(&hi)) return false;
    *v = DWORD(lo) | (DWORD(hi) << 16);
    return true;
  }
  bool Short(short* v) {
    WORD w = 0;
    if (!Word(&w)) return false;
    *v = short(w);
    return true;
  }
  bool Byte(uint8_t* v) {
    if (at_ >= size_) return false;
    *v = p_[at_++];
    return true;
  }
  // A terminated text; false when no terminator comes before the end.
  bool Text(std::u16string* text) {
    text->clear();
    for (;;) {
      WORD c = 0;
      if (!Word(&c)) return false;
      if (!c) return true;
      text->push_back(char16_t(c));
    }
  }
  // Empty, 0xFFFF + ordinal, or a text. *ordinal is 0 unless an ordinal was given.
  bool TextOrOrdinal(std::u16string* text, WORD* ordinal) {
    *ordinal = 0;
    text->clear();
    WORD first = 0;
    if (!Word(&first)) return false;
    if (first == 0) return true;
    if (first == 0xFFFF) return Word(ordinal);
    text->push_back(char16_t(first));
    std::u16string rest;
    if (!Text(&rest)) return false;
    *text += rest;
    return true;
  }
  bool AlignDword() {
    size_t aligned = (at_ + 3) & ~size_t(3);
    if (aligned > size_) return false;
    at_ = aligned;
    return true;
  }
  bool Skip(size_t n) {
    if (n > size_ - at_) return false;
    at_ += n;
    return true;
  }

 private:
  const uint8_t* p_;
  size_t size_;
  size_t at_ = 0;
};

std::u16string PredefinedClass(WORD atom) {
  switch (atom) {
    case 0x80: return u"Button";
    case 0x81: return u"Edit";
    case 0x82: return u"Static";
    case 0x83: return u"ListBox";
    case 0x84: return u"ScrollBar";
    case 0x85: return u"ComboBox";
    default: return u"";
  }
}

}  // namespace

bool ReadDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate* out) {
  if (!bytes || !out) return false;
  *out = DialogTemplate();
  Reader r(bytes, size);
  WORD version = 0, signature = 0, count = 0, ordinal = 0;
  DWORD helpId = 0;
  std::u16string menu;
  if (!r.Word(&version) || !r.Word(&signature) || version != 1 || signature != 0xFFFF) return false;
  if (!r.Dword(&helpId) || !r.Dword(&out->exStyle) || !r.Dword(&out->style) || !r.Word(&count)) return false;
  if (count > kMaxDialogItems) return false;
  if (!r.Short(&out->x) || !r.Short(&out->y) || !r.Short(&out->cx) || !r.Short(&out->cy)) return false;
  if (!r.TextOrOrdinal(&menu, &ordinal) || !r.TextOrOrdinal(&out->className, &ordinal)) return false;
  if (!r.Text(&out->title)) return false;
  if (out->style & DS_SETFONT) {
    WORD weight = 0;
    uint8_t italic = 0, charset = 0;
    if (!r.Word(&out->pointSize) || !r.Word(&weight) || !r.Byte(&italic) || !r.Byte(&charset)) return false;
    if (!r.Text(&out->typeface)) return false;
  }
  for (WORD i = 0; i < count; ++i) {
    DialogItemTemplate item;
    WORD extra = 0, classAtom = 0, titleOrdinal = 0;
    if (!r.AlignDword() || !r.Dword(&helpId) || !r.Dword(&item.exStyle) || !r.Dword(&item.style)) return false;
    if (!r.Short(&item.x) || !r.Short(&item.y) || !r.Short(&item.cx) || !r.Short(&item.cy)) return false;
    if (!r.Dword(&item.id)) return false;
    if (!r.TextOrOrdinal(&item.className, &classAtom)) return false;
    if (classAtom) {
      item.className = PredefinedClass(classAtom);
      if (item.className.empty()) return false;
    }
    if (!r.TextOrOrdinal(&item.text, &titleOrdinal)) return false;
    if (!r.Word(&extra) || !r.Skip(extra)) return false;
    out->items.push_back(std::move(item));
  }
  return true;
}

// MENU layout: a header (version 0, header size 0), then the items in order: a word of flags,
// the command id unless the item is a popup, and a terminated text; a popup's items follow it
// and the last item of every level carries MF_END.
namespace {

constexpr WORD kMenuPopup = 0x10, kMenuEnd = 0x80;

bool ReadMenuLevel(Reader* reader, int depth, int* budget, std::vector<MenuItemTemplate>* out) {
  if (depth > kMaxMenuDepth) return false;
  for (;;) {
    MenuItemTemplate item;
    WORD flags = 0;
    if (!reader->Word(&flags)) return false;
    if (--*budget < 0) return false;
    if (!(flags & kMenuPopup) && !reader->Word(&item.id)) return false;
    if (!reader->Text(&item.text)) return false;
    item.flags = WORD(flags & ~kMenuEnd);
    if ((flags & kMenuPopup) && !ReadMenuLevel(reader, depth + 1, budget, &item.items)) return false;
    out->push_back(std::move(item));
    if (flags & kMenuEnd) return true;
  }
}

}  // namespace

bool ReadMenuTemplate(const uint8_t* bytes, size_t size, std::vector<MenuItemTemplate>* out) {
  out->clear();
  Reader reader(bytes, size);
  WORD version = 0, headerSize = 0;
  if (!reader.Word(&version) || !reader.Word(&headerSize) || version != 0 || headerSize != 0) return false;
  int budget = kMaxMenuItems;
  if (ReadMenuLevel(&reader, 1, &budget, out)) return true;
  out->clear();
  return false;
}

}  // namespace winsim
