// Resource DLL paths, string loading with completion, bitmap ranges and custom-size limits.
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/free_size_limits.h"
#include "core/system/resources.h"
#include "core/tables/static_tables.h"
#include "resources/resource_fixture.h"
#include "support/test_printer.h"

namespace {

using zems_test::ResourceContextTest;

const char16_t kFolder[] = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\";

std::u16string S(const WCHAR* w) { return std::u16string(reinterpret_cast<const char16_t*>(w)); }
const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

TEST(ResourceDllPath, Cases) {
  const std::u16string longFolder = u"C:\\" + std::u16string(250, u'd') + u"\\";
  struct Case {
    std::u16string folder;
    const char16_t* name;
    const char16_t* code;  // null: the common DLL
    const char16_t* path;  // expected; u"" for none
  } cases[] = {
      {u"C:\\d\\", u"zemsresus.dll", u"us", u"C:\\d\\zemsresus.dll"},
      {u"C:\\d\\", u"zemsresus.dll", u"fr", u"C:\\d\\zemsresfr.dll"},
      {u"C:\\d\\", u"zemsresus.dll", nullptr, u"C:\\d\\zemsrCsXX.dll"},
      {u"C:\\d\\", u"ab.x", u"fr", u"C:\\d\\fr.x"},          // two characters before the '.'
      {u"C:\\d\\", u"a.dll", u"fr", u""},                    // only one before the '.'
      {u"C:\\d\\", u"nodot", u"fr", u""},
      {u"C:\\d\\", u"abcd.dll", nullptr, u"C:\\d\\CbXX.dll"},  // eight characters: the least
      {u"C:\\d\\", u"bcd.dll", nullptr, u""},
      {u"C:\\d\\", u"..\\zemsresus.dll", u"fr", u""},        // no folders in the name
      {u"C:\\d\\", u"x\\zemsresus.dll", u"fr", u""},
      {u"C:\\d\\", u"C:zemsresus.dll", nullptr, u""},
      {u"C:\\d\\", u"", u"us", u""},
      {longFolder, u"zemsresus.dll", u"fr", u""},            // does not fit
  };
  for (const Case& c : cases) {
    WCHAR buffer[kPathChars];
    buffer[0] = u'?';
    ResMakeDllPath(buffer, kPathChars, W(c.folder.c_str()), W(c.name), W(c.code), c.code == nullptr);
    EXPECT_EQ(std::u16string(c.path), S(buffer)) << "case " << (&c - cases);
  }
}

TEST_F(ResourceContextTest, ContextPathsFollowTheLanguage) {
  EXPECT_EQ(std::u16string(kFolder) + u"zemsresus.dll", S(ResLanguageDllPath(ctx())));
  EXPECT_EQ(std::u16string(kFolder) + u"zemsrCsXX.dll", S(ResCommonDllPath(ctx())));
  EXPECT_EQ(0, ResIsJapanese(ctx()));
  SetLanguage(u"fr");
  EXPECT_EQ(std::u16string(kFolder) + u"zemsresfr.dll", S(ResLanguageDllPath(ctx())));
  SetLanguage(u"jp");
  EXPECT_EQ(1, ResIsJapanese(ctx()));
  // Without a UI state there is no path: no DLL, and a short path is never Japanese.
  DriverContext bare = {};
  EXPECT_EQ(u"", S(ResLanguageDllPath(&bare)));
  EXPECT_EQ(0, ResIsJapanese(&bare));
  EXPECT_EQ(nullptr, ResLoadLanguageDll(&bare));
}

TEST_F(ResourceContextTest, LoadStringByLanguage) {
  struct Case {
    const char16_t* language;
    UINT id;
    int size;
    const char16_t* text;
  } cases[] = {
      {u"us", 370, 64, u"On"},
      {u"fr", 370, 64, u"Activ\u00e9"},
      {u"fr", 3006, 64, u"A4"},        // not in the French data: the English text
      {u"us", 15000, 64, u"Printing the document..."},
      {u"us", 15000, 6, u"Print"},     // cut to the buffer
      {u"us", 15000, 1, u""},
      {u"us", 60000, 64, u""},         // no such string
      {u"jp", 370, 64, u""},           // no Japanese DLL: empty everywhere
  };
  for (const Case& c : cases) {
    SetLanguage(c.language);
    EXPECT_EQ(std::u16string(c.text), Load(c.id, c.size)) << c.id;
  }
  EXPECT_EQ(0, ResLoadString(ctx(), 370, nullptr, 10, TRUE));
  WCHAR untouched[2] = {u'x', 0};
  EXPECT_EQ(0, ResLoadString(ctx(), 370, untouched, 0, TRUE));
  EXPECT_EQ(u'x', untouched[0]);
}

TEST_F(ResourceContextTest, DllLoadsOnceAndIsTriedAgainAfterAFailure) {
  SetLanguage(u"jp");
  EXPECT_EQ(nullptr, ResLoadLanguageDll(ctx()));
  ASSERT_TRUE(zems_test::CopyBuiltDll("zemsresus.dll", "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\"));
  std::string from = zems_test::HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\zemsresus.dll");
  std::string to = zems_test::HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\zemsresjp.dll");
  ASSERT_EQ(0, rename(from.c_str(), to.c_str()));
  HMODULE first = ResLoadLanguageDll(ctx());
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, ResLoadLanguageDll(ctx()));
  EXPECT_EQ(first, ctx()->languageDll);
  ResFreeDlls(ctx());
  EXPECT_EQ(nullptr, ctx()->languageDll);
  EXPECT_EQ(nullptr, GetModuleHandleW(W(u"zemsresjp.dll")));
}

TEST_F(ResourceContextTest, CompletionKinds) {
  UiState* ui = Ui();
  FreeSizeSlot& slot = ui->freeSizes[1];
  strcpy(slot.currentName, "Card");
  slot.width = 9921;  // about 210 x 297 mm
  slot.length = 14031;
  slot.tray = 4;
  slot.orientation = 1;
  FreeSizeSlot& wide = ui->freeSizes[2];
  strcpy(wide.currentName, "Wide");
  wide.width = 20000;  // beyond the tray's width limit: shown clamped
  wide.length = 1000;  // below its length limit
  wide.tray = 4;
  wide.orientation = 1;
  ItemSetRawById(ctx(), kItem_zdmPaperFreeSizeWidth, 9921);
  ItemSetRawById(ctx(), kItem_zdmPaperFreeSizeLength, 14031);
  ItemSetRawById(ctx(), kItem_zdmPrintFreeSizeWidth, 20000);
  ItemSetRawById(ctx(), kItem_zdmPrintFreeSizeLength, 1000);
  SettingItem* tray2 = ItemFind(ctx(), WORD(kItem_wdmPrintPostTray1Name + 1));
  ASSERT_NE(nullptr, tray2);
  ItemSetText(ctx(), tray2, W(u"Upper"));

  struct Case {
    const char16_t* language;
    bool metric;
    WORD page;
    UINT id;
    int size;
    const char16_t* text;
  } cases[] = {
      {u"us", true, 0, 30, 64, u"Output tray 2:Upper"},                         // kind 1
      {u"us", true, 0, 814, 64, u"Output tray 2:Upper"},
      {u"us", true, 0, 30, 12, u"Output tray"},                                 // cut
      {u"us", true, 0, 110, 64, u"Card(210.0 x 297.0mm)"},                      // kind 2, slot 1
      {u"us", false, 0, 110, 64, u"Card(8.27 x 11.70inch)"},
      {u"fr", true, 0, 110, 64, u"Card(210,0 x 297,0mm)"},
      {u"us", true, 0, 111, 64, u"Wide(216.0 x 140.0mm)"},                      // clamped by limits
      {u"us", true, 0, 752, 64, u"Custom paper size (210.0 x 297.0mm)"},
      {u"us", true, 0, 753, 64, u"Custom print size (423.4 x 21.2mm)"},         // not clamped
      {u"us", true, 0, 110, 10, u"Card(210."},                                  // cut at the end
      {u"us", true, 0, 110, 2, u"C"},
      {u"us", true, 0, 153, 64, u"mm"},                                         // kind 3
      {u"us", true, 0, 154, 64, u"mm"},
      {u"us", false, 0, 153, 64, u"inch"},
      {u"fr", false, 0, 154, 4, u"pou"},
      {u"us", true, 0, 565, 64, u"Colour matching 1"},                          // kind 4, no module answers
      {u"us", true, 0, 13273, 64, u"Length: 0 to 0"},                           // kind 5, off the pages
      {u"us", false, 0, 13273, 64, u"Length: 0.00 to 0.00"},
      {u"us", true, 1017, 13273, 64, u"Length: 140 to 900"},
      {u"us", true, 1017, 13275, 64, u"Width: 90 to 216"},
      {u"us", false, 1017, 13275, 64, u"Width: 3.55 to 8.50"},
      {u"fr", true, 1017, 13275, 64, u"Largeur : 90 \u00e0 216"},
      {u"us", true, 1017, 13275, 9, u"Width: %"},    // the format itself was cut: no place to fill
      {u"us", true, 1708, 13708, 64, u"Colour profile 1"},                      // kind 6
  };
  ItemSetRawById(ctx(), kItem_wdmFreeSizeTray, 4);
  ItemSetRawById(ctx(), kItem_wdmFreeSizeOrient, 1);
  for (const Case& c : cases) {
    SetLanguage(c.language);
    SetMetric(c.metric);
    ctx()->currentPage = c.page;
    EXPECT_EQ(std::u16string(c.text), Load(c.id, c.size)) << "string " << c.id << " size " << c.size;
  }
}

TEST_F(ResourceContextTest, SizeRangeFillsExactlyTwoPlaces) {
  ctx()->currentPage = 1017;
  ItemSetRawById(ctx(), kItem_wdmFreeSizeTray, 4);
  ItemSetRawById(ctx(), kItem_wdmFreeSizeOrient, 1);
  struct Case {
    const char16_t* format;
    int size;
    const char16_t* text;
  } cases[] = {
      {u"%d %s %x %s %s %n", 64, u"%d 140 %x 900 %s %n"},  // other '%' text never reads an argument
      {u"no places", 64, u"no places"},
      {u"%s", 64, u"140"},
      {u"%s-%s", 6, u"140-9"},
      {u"%", 64, u"%"},
  };
  for (const Case& c : cases) {
    std::u16string buffer(80, u'#');
    std::u16string format(c.format);
    std::copy(format.begin(), format.end(), buffer.begin());
    buffer[format.size()] = 0;
    ResCompleteString(ctx(), 13273, reinterpret_cast<WCHAR*>(&buffer[0]), c.size);
    EXPECT_EQ(std::u16string(c.text), std::u16string(buffer.c_str())) << "format " << (&c - cases);
    EXPECT_EQ(u'#', buffer[size_t(c.size)]);
  }
}

// A module that answers event 16 with a name longer than some buffers, written within the
// size the record carries.
int AnswerColorMatchName(DriverContext*, int event, void* argument, void*) {
  if (event != kModEventColorMatchName) return 0;
  auto* record = static_cast<ResColorMatchNameEvent*>(argument);
  const char16_t name[] = u"Vivid photo entry";
  DWORD n = 0;
  for (; name[n] && n + 1 < record->cchBuffer; ++n) record->buffer[n] = WCHAR(name[n]);
  record->buffer[n] = 0;
  return record->stringId == 566 ? 1 : 0;  // only entry 1 is known
}

TEST_F(ResourceContextTest, ColorMatchNameComesFromTheModuleThatAnswersEvent16) {
  UiModuleEntry row = {0, nullptr, nullptr, nullptr, AnswerColorMatchName};
  ASSERT_EQ(1, ModBusLoadRows(ctx(), &row, 1));
  struct Case {
    UINT id;
    int size;
    const char16_t* text;
  } cases[] = {
      {566, 64, u"Vivid photo entry"},
      {566, 6, u"Vivid"},
      {565, 64, u"Vivid photo entry"},  // written over, even when the module does not claim it
      {13708, 64, u"Colour profile 1"},  // kind 6: no event
  };
  for (const Case& c : cases) EXPECT_EQ(std::u16string(c.text), Load(c.id, c.size)) << c.id;
  ModBusFree(ctx());
}

TEST_F(ResourceContextTest, SizeRangeOnTheInputPageFollowsThePaperOrPrintSize) {
  // Paper size on tray 1 portrait, print size on tray 4 portrait.
  ItemSetRawById(ctx(), kItem_zdmPaperFreeSizeTray, 1);
  ItemSetRawById(ctx(), kItem_zdmPaperFreeSizeOrient, 1);
  ItemSetRawById(ctx(), kItem_zdmPrintFreeSizeTray, 4);
  ItemSetRawById(ctx(), kItem_zdmPrintFreeSizeOrient, 1);
  ctx()->currentPage = 1041;
  ItemSetRawById(ctx(), kItem_wdmInputFreeSizeType, 1);
  EXPECT_EQ(u"Length: 140 to 356", Load(13273));
  ItemSetRawById(ctx(), kItem_wdmInputFreeSizeType, 2);
  EXPECT_EQ(u"Length: 140 to 900", Load(13273));
  // A tray without limits shows 0 twice.
  ItemSetRawById(ctx(), kItem_zdmPrintFreeSizeTray, 9);
  EXPECT_EQ(u"Length: 0 to 0", Load(13273));
}

TEST(BitmapRanges, Cases) {
  struct Case {
    UINT id;
    int dll;
  } cases[] = {
      {6001, 0}, {6228, 0}, {6229, 1}, {6238, 1}, {6239, 0}, {6400, 0}, {6401, 1}, {7954, 1},
      {7955, 0}, {7972, 0}, {7973, 1}, {7982, 1}, {7983, 0}, {7999, 0}, {8000, 1}, {8100, 1},
      {8101, 0}, {8169, 0}, {8170, 1}, {8183, 1}, {8184, 0}, {8212, 0}, {8213, 1}, {10000, 1},
      // Value pictures and button faces below the picture ranges come from the language DLL.
      {1, 0}, {220, 0}, {3000, 0}, {5999, 0}, {6000, -1}, {10001, -1}, {0, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.dll, ResBitmapDllOf(c.id)) << c.id;
  int rows = 0;
  for (const BitmapRangeRow* r = ResGetBitmapRanges(); r->firstId; ++r) ++rows;
  EXPECT_EQ(13, rows);
}

TEST_F(ResourceContextTest, BitmapResourcesComeFromTheirDll) {
  struct Case {
    UINT id;
    bool found;
  } cases[] = {{6001, true}, {8213, true}, {6229, true}, {6002, false}, {5000, false}};
  for (const Case& c : cases) {
    HGLOBAL bitmap = ResLoadBitmapResource(ctx(), c.id);
    EXPECT_EQ(c.found, bitmap != nullptr) << c.id;
    if (bitmap) {
      const BITMAPINFOHEADER* info = static_cast<const BITMAPINFOHEADER*>(LockResource(bitmap));
      EXPECT_EQ(40u, info->biSize);
    }
  }
  EXPECT_NE(nullptr, ctx()->languageDll);
  EXPECT_NE(nullptr, ctx()->commonDll);
}

TEST_F(ResourceContextTest, FreeSizeLimits) {
  struct Case {
    WORD tray, orientation;
    bool metric, length, win9x;
    int result;
    LONG maximum, minimum;
  } cases[] = {
      {4, 1, true, true, false, 1, 42518, 6614},
      {4, 1, true, false, false, 1, 10204, 4250},
      {4, 1, false, true, false, 1, 42516, 6624},
      {4, 1, false, false, false, 1, 10200, 4260},
      {1, 2, true, true, false, 1, 10204, 6614},
      {3, 1, true, true, true, 1, 16818, 9920},
      {4, 3, true, true, false, 0, -1, -1},         // no row
      {5, 1, true, true, false, 0, -1, -1},
  };
  for (const Case& c : cases) {
    SetMetric(c.metric);
    if (c.win9x) zems_test::SetWindows(4, 10, 0, 0, VER_PLATFORM_WIN32_WINDOWS);
    LONG maximum = -1, minimum = -1;
    EXPECT_EQ(c.result, FreeSizeGetLimits(ctx(), c.tray, c.orientation, &maximum, &minimum, c.length))
        << c.tray << "/" << c.orientation;
    EXPECT_EQ(c.maximum, maximum) << c.tray << "/" << c.orientation << " metric " << c.metric;
    EXPECT_EQ(c.minimum, minimum) << c.tray << "/" << c.orientation << " metric " << c.metric;
    if (c.win9x) zems_test::SetWindows(5, 1);
  }
  int rows = 0;
  for (const FreeSizeLimitsRow* r = TblGetFreeSizeLimits(); r->tray; ++r) ++rows;
  EXPECT_EQ(8, rows);
}

}  // namespace
