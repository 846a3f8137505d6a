// The help strings sent to the graphics DLL (escape 122) and the resource DLLs' lifetime in a
// real context.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/languages.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "resources/resource_fixture.h"
#include "support/test_printer.h"

namespace {

const char kDriverFolder[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";

class HelpStringsTest : public zems_test::TestPrinterTest {};

std::u16string RowText(const HelpStringRow& row) {
  return std::u16string(reinterpret_cast<const char16_t*>(row.text));
}

TEST_F(HelpStringsTest, EscapeCarriesTheThreeRows) {
  HANDLE printer = AddPrinter(u"P");
  ASSERT_NE(nullptr, printer);
  ASSERT_TRUE(zems_test::CopyBuiltDll("zemsresus.dll", kDriverFolder));
  const std::u16string longText(300, u'L');
  struct Case {
    const char16_t* helpFile;  // null: none in the printer data
    const char16_t* first;     // expected text of row 1
  } cases[] = {
      {u"zemsresus.hlp", u"Printing the document..."},
      {u"ZEMSRESUS.HLP", u"Printing the document..."},
      {nullptr, u""},
      {u"zemsresfr.hlp", u""},            // no such DLL in the driver folder
      {u"zemsresus", u""},                // no extension
      {u"..\\zemsresus.hlp", u""},        // not a bare file name
      {u"C:\\x\\zemsresus.hlp", u""},
      {u"sub/zemsresus.hlp", u""},
  };
  HDC dc = reinterpret_cast<HDC>(0x5150);
  for (const Case& c : cases) {
    if (c.helpFile) SetPrinterText(printer, u"HelpFileName", c.helpFile);
    else SetPrinterText(printer, u"HelpFileName", u"", REG_BINARY);
    SimClearEscapes();
    ResSendStringsToGraphics(printer, dc);
    ASSERT_EQ(1u, SimEscapeCount());
    HelpStringRow rows[kHelpStringRows + 2];
    memset(rows, 0xCC, sizeof rows);
    HDC seen = nullptr;
    int code = 0;
    EXPECT_EQ(2104, SimGetEscape(0, &seen, &code, rows, int(sizeof rows)));
    EXPECT_EQ(dc, seen);
    EXPECT_EQ(122, code);
    const WORD markers[] = {731, 733, 735, 0}, ids[] = {15000, 15001, 15002, 0};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(markers[i], rows[i].marker);
      EXPECT_EQ(ids[i], rows[i].stringId);
    }
    EXPECT_EQ(std::u16string(c.first), RowText(rows[0])) << "case " << (&c - cases);
    EXPECT_EQ(u"", RowText(rows[3]));
    // Nothing is kept loaded after the send.
    EXPECT_EQ(nullptr, GetModuleHandleW(reinterpret_cast<LPCWSTR>(u"zemsresus.dll")));
  }
  ClosePrinter(printer);
}

TEST_F(HelpStringsTest, LongStringIsCutAt260) {
  HANDLE printer = AddPrinter(u"P");
  ASSERT_NE(nullptr, printer);
  ASSERT_TRUE(zems_test::CopyBuiltDll("zemsresus.dll", kDriverFolder));
  SetPrinterText(printer, u"HelpFileName", u"zemsresus.hlp");
  HMODULE dll = nullptr;
  WCHAR text[kHelpStringChars + 4];
  for (WCHAR& w : text) w = u'#';
  // String 15002 of the sample help DLL is longer than a row holds.
  ResLoadHelpString(printer, &dll, 15002, text);
  ASSERT_NE(nullptr, dll);
  EXPECT_EQ(260u, std::u16string(reinterpret_cast<const char16_t*>(text)).size());
  EXPECT_EQ(0, text[kHelpStringChars - 1]);
  EXPECT_EQ(u'#', text[kHelpStringChars]);
  // The row is cleared before each load: a short string leaves zeros behind it.
  ResLoadHelpString(printer, &dll, 15001, text);
  EXPECT_EQ(u"The printer is not ready.", std::u16string(reinterpret_cast<const char16_t*>(text)));
  EXPECT_EQ(0, text[100]);
  ResFreeHelpDll(dll);
  ClosePrinter(printer);
}

class ContextDllTest : public zems_test::ContextTest {};

TEST_F(ContextDllTest, ContextLoadsItsLanguageDllOnceAndFreesItWhenDestroyed) {
  ASSERT_TRUE(zems_test::CopyBuiltDll("zemsresfr.dll", kDriverFolder));
  DriverContext* ctx = CtxOpen(office_, nullptr, nullptr, 0, 0, 0, nullptr);
  ASSERT_NE(nullptr, ctx);
  // Until the defaults are built a new context's language is 0: set the one the test uses.
  ItemSetRawById(ctx, kItem_zdmLanguageID, ResLangIndexFromCode(reinterpret_cast<LPCWSTR>(u"fr")));
  WCHAR text[32];
  EXPECT_EQ(6, ResLoadString(ctx, 370, text, 32, TRUE));
  HMODULE dll = ctx->languageDll;
  ASSERT_NE(nullptr, dll);
  EXPECT_EQ(6, ResLoadString(ctx, 370, text, 32, TRUE));
  EXPECT_EQ(dll, ctx->languageDll);
  EXPECT_EQ(dll, GetModuleHandleW(reinterpret_cast<LPCWSTR>(u"zemsresfr.dll")));
  // Loaded once: one free makes the module go with the context's reference only.
  CtxDestroy(ctx, kReleaseExpired);
  EXPECT_EQ(nullptr, GetModuleHandleW(reinterpret_cast<LPCWSTR>(u"zemsresfr.dll")));
}

}  // namespace
