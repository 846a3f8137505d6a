// The string data of the language DLLs: every string id the driver's tables and display code
// name has a text in the English DLL, and the French DLL answers each of them too (its own
// text or the English one).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/items/item_display.h"
#include "core/system/resources.h"
#include "platform/win32.h"
#include "resources/resource_fixture.h"

namespace {

std::set<UINT> NamedStringIds() {
  std::set<UINT> ids;
  // Display strings of the items' value lists, after the display code's replacements.
#define LIST(item)
#define VAL(item, sym, name, logical, stored) ids.insert(ItemDisplayStringId(WORD(logical)));
#define LANDSCAPE(item)
#define VAL2(item, logical, stored) ids.insert(ItemDisplayStringId(WORD(logical)));
#define END(item)
#define SYM(item, sym, name, logical, stored)
#include "core/tables/value_symbols.inc"
#undef LIST
#undef VAL
#undef LANDSCAPE
#undef VAL2
#undef END
#undef SYM
  // Message texts and captions.
#define MESSAGE(id, text, caption, name) \
  ids.insert(text);                      \
  if (caption) ids.insert(caption);
#include "core/tables/messages.inc"
#undef MESSAGE
  for (const StringCompletionRow* r = ResGetCompletionTable(); r->stringId; ++r) ids.insert(r->stringId);
  // The display code's own strings (unknown value, on, off) and the help strings.
  for (UINT id : {96u, 370u, 371u, 15000u, 15001u, 15002u}) ids.insert(id);
  return ids;
}

class StringsDataTest : public zems_test::MachineTest {};

TEST_F(StringsDataTest, EveryNamedStringHasAText) {
  std::set<UINT> ids = NamedStringIds();
  ASSERT_GT(ids.size(), 300u);
  for (const char* leaf : {"zemsresus.dll", "zemsresfr.dll"}) {
    ASSERT_TRUE(zems_test::CopyBuiltDll(leaf, "C:\\res\\"));
    std::u16string path = u"C:\\res\\";
    for (const char* p = leaf; *p; ++p) path += char16_t(*p);
    HMODULE dll = LoadLibraryW(reinterpret_cast<LPCWSTR>(path.c_str()));
    ASSERT_NE(nullptr, dll) << leaf;
    for (UINT id : ids) {
      WCHAR text[8];
      EXPECT_GT(LoadStringW(dll, id, text, 8), 0) << leaf << ": string " << id << " has no text";
    }
    FreeLibrary(dll);
  }
}

}  // namespace
