// The job-header command lists on small model descriptions compiled in memory: every value
// kind, each special kind and the entry kinds of a group, on a context of a real test printer.
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_image.h"
#include "core/modules/chapter_records.h"
#include "core/store/font_tables.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "gr2k/job_header.h"
#include "platform/sim.h"
#include "support/sample_model.h"
#include "support/test_printer.h"

namespace {

using zems_test::ContextTest;

// Ids of the items without a name in the code.
constexpr WORD kTime = 210, kIniFileName = 697, kLogFileName = 992, kDriverFileName = 993, kDitherFileName = 1251;

// Items every case's description declares, each with its option command.
const char kItems[] =
    "*CommandString 1: \"<1B>%%-12345X\"\n"
    "*CommandString 2: \"ELSE<0D0A>\"\n"
    "*Judge 1=DuplexOn: TOV_zdmFuncSelectDuplex == ZDMFUNCSELECTDUPLEX_ON\n"
    "*OpenUI *TOV_zdmFuncSelectDuplex: PickOne\n"
    "*TOV_zdmFuncSelectDuplex: IDList { ZDMFUNCSELECTDUPLEX_OFF ZDMFUNCSELECTDUPLEX_ON }\n"
    "*CloseUI\n"
    "*OpenUI *TOV_dmCopies: Numeric\n*OptionCommand: {\"@PJL SET COPIES = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 1 1 999 0 0 1 10\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmScaleH: Numeric\n*OptionCommand: {\"@PJL SET SCALE = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 100 25 400 0 0 1 0\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmSortType: PickOne\n*OptionCommand: {\"@PJL SET COLLATE=\" \"<0D0A>\"}\n"
    "*TOV_zdmSortType: IDList { {ZDMSORTTYPE_OFF \"OFF\"} {ZDMSORTTYPE_SORT \"SORT\"} {ZDMSORTTYPE_SHIFT \"\"} }\n"
    "*CloseUI\n"
    "*OpenUI *TOV_zdmFuncSelectChapter: Boolean\n*OptionCommand: {\"@PJL SET CHAPTER=\" \"<0D0A>\"}\n"
    "*TOV_zdmFuncSelectChapter True: \"ON\"\n*TOV_zdmFuncSelectChapter False: \"OFF\"\n*CloseUI\n"
    "*OpenUI *TOV_wdmChapterTray: Boolean\n"
    "*TOV_wdmChapterTray True: \"TRAY\"\n*TOV_wdmChapterTray False: \"NONE\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmUserCode: String\n*OptionCommand: {\"@PJL SET USERCODE = \" \" <0D0A>\"}\n"
    "*StringValue: 8 Numeric\n*CloseUI\n"
    "*OpenUI *TOV_zdmTelNo: String\n*OptionCommand: {\"@PJL SET FAXNUMBER = \" \" <0D0A>\"}\n"
    "*StringValue: 64 Ascii\n*CloseUI\n"
    "*OpenUI *TOV_zdmTime: Numeric\n*OptionCommand: {\"@PJL SET TIME = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 1 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_dmDeviceName: String\n*OptionCommand: {\"@PJL SET PRINTERNAME = \" \" <0D0A>\"}\n"
    "*StringValue: 31 Ascii\n*CloseUI\n"
    "*OpenUI *TOV_zdmIniFileName: String\n*OptionCommand: {\"@PJL SET INIFILE = \" \" <0D0A>\"}\n"
    "*StringValue: 15 Ascii\n*CloseUI\n"
    "*OpenUI *TOV_wdmLogFileName: Numeric\n*OptionCommand: {\"@PJL SET LOGFILE = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 1 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_wdmDriverFileName: Numeric\n*OptionCommand: {\"@PJL SET LOGDLL = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 1 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_wdmDitherFileName: Numeric\n*OptionCommand: {\"@PJL SET DRIVERDIR = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 1 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmMarginOdd: Numeric\n*OptionCommand: {\"@PJL SET MARGIN = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 2400 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmShiftMarginX: Numeric\n*OptionCommand: {\"@PJL SET SHIFTX = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 2400 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmShiftMarginY: Numeric\n*OptionCommand: {\"@PJL SET SHIFTY = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 0 0 2400 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_zdmHFPageForm: PickOne\n*OptionCommand: {\"@PJL SET PAGEFORM = \" \" <0D0A>\"}\n"
    "*TOV_zdmHFPageForm: IDList { {ZDMHFPAGEFORM_NUMBER \"NUM\"} {ZDMHFPAGEFORM_DASHNUMBER \"DASH\"} }\n*CloseUI\n"
    "*OpenUI *TOV_zdmFontTable: FontTbl\n*OptionCommand: {\"@PJL SET FONTTABLE=\" \"<0D0A>\"}\n"
    "*TOV_zdmFontTable ZDMFONTTABLE_STANDARD: \"STANDARD\"\n"
    "*TTFS TOV_zdmFontTable ZDMFONTTABLE_STANDARD: IDList { {\"Arial\" \"Sans\"} }\n*CloseUI\n"
    "*OpenUI *TOV_wdmWmEffect: PickMany\n*OptionCommand: {\"@PJL SET EFFECT=\" \"<0D0A>\"}\n"
    "*TOV_wdmWmEffect: IDList { WDMWMEFFECT_NONE WDMWMEFFECT_OUTLINE }\n*CloseUI\n";

class CommandListTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    previous_ = ctx_->modelImage;
    SYSTEMTIME clock = {2026, 3, 0, 4, 5, 6, 7, 0};
    SimSetLocalTime(&clock);
    JobTextTableReset();
  }
  void TearDown() override {
    Drop();
    ctx_->modelImage = previous_;
    CtxRelease(ctx_, kReleaseExpired);
    SimSetLocalTime(nullptr);
    ContextTest::TearDown();
  }
  void Drop() {
    ctx_->modelImage = previous_;
    MemFree(image_);
    image_ = nullptr;
  }
  // Compiles kItems with this JobStart group and walks it; the result goes to *result.
  std::string Walk(const std::string& group, int* result = nullptr) {
    Drop();
    std::string text = std::string(kItems) + "*CommandGroup: JobStart {\n" + group + "}\n";
    image_ = ModelCompileMemory(text.data(), DWORD(text.size()), 1252);
    EXPECT_NE(image_, nullptr);
    if (!image_) return "";
    ModelFixUpImage(image_);
    ctx_->modelImage = reinterpret_cast<ModelImage*>(image_);
    DWORD cb = 0;
    int measured = JobHeaderList(ctx_, 0, nullptr, &cb);
    std::vector<char> buffer(cb + 1);
    DWORD written = 0;
    int r = JobHeaderList(ctx_, cb, buffer.data(), &written);
    EXPECT_EQ(r, measured);
    EXPECT_EQ(written, cb);
    if (result) *result = r;
    return std::string(buffer.data(), cb);
  }
  static std::string Ansi(const WCHAR* text) {
    char out[600] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
    return out;
  }
  void SetText(WORD id, const char16_t* text) {
    ItemSetText(ctx_, ItemFind(ctx_, id), reinterpret_cast<const WCHAR*>(text));
  }

  DriverContext* ctx_ = nullptr;
  ModelImage* previous_ = nullptr;
  ModelImageHeader* image_ = nullptr;
};

TEST_F(CommandListTest, ValueKindsAndEntryKinds) {
  const struct {
    const char* what;
    WORD id;
    LONG value;  // stored value (text items: see below)
    const char* group;
    const char* expected;
  } kCases[] = {
      {"numeric 125 x 1 / 10", kItem_dmCopies, 125, "Type : GroupType TOV_dmCopies\n", "@PJL SET COPIES = 12 \r\n"},
      {"numeric divisor 0 writes nothing", kItem_zdmScaleH, 150, "Type : GroupType TOV_zdmScaleH\n", ""},
      {"list entry", kItem_zdmSortType, 1, "Type : GroupType TOV_zdmSortType\n", "@PJL SET COLLATE=SORT\r\n"},
      {"list entry without text", kItem_zdmSortType, 4, "Type : GroupType TOV_zdmSortType\n", ""},
      {"boolean of kind 11, false", kItem_zdmFuncSelectChapter, 0, "Type : GroupType TOV_zdmFuncSelectChapter\n",
       "@PJL SET CHAPTER=OFF\r\n"},
      {"pick many gives nothing", 0, 0, "Type : GroupType TOV_wdmWmEffect\n", ""},
      {"string text", 0, 0, "Type : StringType 1\n", "\x1b%-12345X"},
      {"conditional, judge false", kItem_zdmFuncSelectDuplex, 0,
       "Command : DuplexOn {\n Type : GroupType TOV_dmCopies\n} Else {\n Type : StringType 2\n}\n", "ELSE\r\n"},
      {"conditional, judge true", kItem_zdmFuncSelectDuplex, 1,
       "Command : DuplexOn {\n Type : StringType 1\n} Else {\n Type : StringType 2\n}\n", "\x1b%-12345X"},
  };
  for (const auto& c : kCases) {
    ItemSetRawById(ctx_, kItem_dmCopies, 1);
    if (c.id) ItemSetRawById(ctx_, c.id, c.value);
    EXPECT_EQ(Walk(c.group), c.expected) << c.what;
  }
}

TEST_F(CommandListTest, AMissingOptionCommandStopsTheList) {
  int result = 0;
  // zdmScaleV has no description here.
  Walk("Type : StringType 1\nType : GroupType TOV_zdmScaleV\n", &result);
  EXPECT_EQ(result, -1);
  Walk("Type : StringType 1\n", &result);
  EXPECT_EQ(result, 1) << "a walk that produced text answers 1";
}

TEST_F(CommandListTest, ValuesFromSettingsAreCleaned) {
  SetText(kItem_zdmUserCode, u"12\"3\r\n4");
  EXPECT_EQ(Walk("Type : GroupType TOV_zdmUserCode\n"), "@PJL SET USERCODE = 12'3  4 \r\n");
  SetText(kItem_zdmUserCode, u"");
  EXPECT_EQ(Walk("Type : GroupType TOV_zdmUserCode\n"), "") << "an empty text gives nothing";
}

TEST_F(CommandListTest, SpecialKinds) {
  const std::string driverDir = Ansi(PathGetDriverDir(ctx_));
  const std::string settings = Ansi(PathSettingsFile(ctx_));
  SetPrinterText(office_, u"LogFileName", u"C:\\logs\\job.log");
  SetText(kItem_zdmTelNo, u"+81 (3) 555-0100");
  ItemSetRawById(ctx_, kItem_zdmMarginOdd, 1200);
  ItemSetRawById(ctx_, kItem_zdmShiftMarginX, 120);
  ItemSetRawById(ctx_, kItem_zdmShiftMarginY, 240);
  const struct {
    const char* what;
    LONG resolution;
    LONG shiftDir;
    const char* group;
    std::string expected;
  } kCases[] = {
      {"date and time", 600, 0, "Type : GroupType TOV_zdmTime\n",
       "@PJL SET DATE = \"2026/03/04\" \r\n@PJL SET TIME = \"05:06:07\" \r\n"},
      {"names", 600, 0, "Type : GroupType TOV_dmDeviceName\n",
       "@PJL SET ZEMSDRIVERNAME = \"" + Ansi(PrnGetDriverName(ctx_)) + "\" \r\n@PJL SET PRINTERNAME = \"Office\" \r\n"},
      {"settings path", 600, 0, "Type : GroupType TOV_zdmIniFileName\n", "@PJL SET INIFILE = " + settings + " \r\n"},
      {"log file", 600, 0, "Type : GroupType TOV_wdmLogFileName\n", "@PJL SET LOGFILE = C:\\logs\\job.log \r\n"},
      {"log file as DLL", 600, 0, "Type : GroupType TOV_wdmDriverFileName\n", "@PJL SET LOGDLL = C:\\logs\\job.DLL \r\n"},
      {"dial number", 600, 0, "Type : GroupType TOV_zdmTelNo\n", "@PJL SET FAXNUMBER = +81 3 5550100 \r\n"},
      {"margin at 600 dpi", 600, 0, "Type : GroupType TOV_zdmMarginOdd\n", "@PJL SET MARGIN = 600 \r\n"},
      {"margin at 1200 dpi", 1200, 0, "Type : GroupType TOV_zdmMarginOdd\n", "@PJL SET MARGIN = 1200 \r\n"},
      {"shift x, direction 4", 600, 4, "Type : GroupType TOV_zdmShiftMarginX\n", "@PJL SET SHIFTX = -60 \r\n"},
      {"shift x, direction 3", 600, 3, "Type : GroupType TOV_zdmShiftMarginX\n", "@PJL SET SHIFTX = 60 \r\n"},
      {"shift y, direction 3", 600, 3, "Type : GroupType TOV_zdmShiftMarginY\n", "@PJL SET SHIFTY = -120 \r\n"},
      {"shift y, direction 2", 600, 2, "Type : GroupType TOV_zdmShiftMarginY\n", "@PJL SET SHIFTY = 120 \r\n"},
      {"driver folder", 600, 0, "Type : GroupType TOV_wdmDitherFileName\n", "@PJL SET DRIVERDIR = " + driverDir + " \r\n"},
  };
  for (const auto& c : kCases) {
    ItemSetRawById(ctx_, kItem_zdmDstResolutionW, c.resolution);
    ItemSetRawById(ctx_, kItem_zdmShiftDir, c.shiftDir);
    EXPECT_EQ(Walk(c.group), c.expected) << c.what;
  }
  // Without the printer data value only the command's own texts remain.
  ASSERT_EQ(DeletePrinterDataW(office_, Text(u"LogFileName")), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(Walk("Type : GroupType TOV_wdmLogFileName\n"), "@PJL SET LOGFILE =  \r\n");
}

TEST_F(CommandListTest, TextTableEntries) {
  // A value without a row writes the entry's own text; a row's text comes from the language DLL
  // when it loads, else from what escape 122 handed over.
  ItemSetValueById(ctx_, kItem_zdmHFPageForm, 730);
  EXPECT_EQ(Walk("Type : GroupType TOV_zdmHFPageForm\n"), "@PJL SET PAGEFORM = NUM \r\n");
  HelpStringRow rows[4] = {};
  const char16_t given[] = u"Page \"1\"";
  memcpy(rows[0].text, given, sizeof given);
  JobTextTableFill(rows, sizeof rows);
  ItemSetValueById(ctx_, kItem_zdmHFPageForm, 731);
  WCHAR loaded[kHelpStringChars] = {};
  bool fromDll = ResLoadString(ctx_, 15000, loaded, kHelpStringChars, FALSE) > 0;
  EXPECT_EQ(Walk("Type : GroupType TOV_zdmHFPageForm\n"),
            fromDll ? "@PJL SET PAGEFORM = Printing the document... \r\n" : "@PJL SET PAGEFORM = Page '1' \r\n");
}

TEST_F(CommandListTest, FontLines) {
  // The context's own tables come back at the end.
  const LONG_PTR ownFonts = ItemGetRawById(ctx_, kItem_zdmDeviceFont), ownSubst = ItemGetRawById(ctx_, kItem_zdmFontTable);
  const LONG_PTR ownFontCount = ItemGetRawById(ctx_, kItem_zdmDeviceFontNum);
  const LONG_PTR ownSubstCount = ItemGetRawById(ctx_, kItem_zdmFontTableNum);
  DeviceFontRecord fonts[3] = {{1, u"Courier"}, {0xFFFF, u"Hidden"}, {7, u"Mincho"}};
  ItemSetRawById(ctx_, kItem_zdmDeviceFontNum, 3);
  ItemSetRawById(ctx_, kItem_zdmDeviceFont, LONG_PTR(fonts));
  EXPECT_EQ(Walk("Type : FontType\n"), "@PJL SET DEVFONTID = \"1+Courier/7+Mincho\" \r\n");
  fonts[0].id = fonts[2].id = 0xFFFF;
  EXPECT_EQ(Walk("Type : FontType\n"), "@PJL SET DEVFONTID = \" \r\n");
  ItemSetRawById(ctx_, kItem_zdmDeviceFontNum, 0);
  EXPECT_EQ(Walk("Type : FontType\n"), "");

  FontSubstEntry subst[2] = {{u"Arial", u"Sans"}, {u"Times", u"Roman"}};
  ItemSetRawById(ctx_, kItem_zdmFontTableNum, 2);
  ItemSetRawById(ctx_, kItem_zdmFontTable, LONG_PTR(subst));
  EXPECT_EQ(Walk("Type : GroupType TOV_zdmFontTable\n"),
            "@PJL SET FONTTABLE=STANDARD\r\n@PJL SET SUBFONTTABLE = \"Arial+Sans/Times+Roman\" \r\n");
  ItemSetRawById(ctx_, kItem_zdmDeviceFont, ownFonts);
  ItemSetRawById(ctx_, kItem_zdmFontTable, ownSubst);
  ItemSetRawById(ctx_, kItem_zdmDeviceFontNum, ownFontCount);
  ItemSetRawById(ctx_, kItem_zdmFontTableNum, ownSubstCount);
}

TEST_F(CommandListTest, ChapterLines) {
  ItemSetRawById(ctx_, kItem_wdmChapterMax, 20);
  DWORD count = 0;
  ChapterRecord* records = ChapterArray(ctx_, &count);
  ASSERT_NE(records, nullptr);
  ASSERT_GE(count, 4u);
  const ChapterRecord given[] = {
      {3, 2, 0, 1, u""},      // copy from tray 2
      {5, 3, 3, 1, u"5-9"},   // range from tray 3, printed on both sides
      {12, 2, 0, 2, u""},     // tray 2 again: its flag 2 replaces the 1
      {14, 0, 1, 0, u""},     // a break
      {15, 4, 3, 0, u"x-2"},  // a range without a number
  };
  memcpy(records, given, sizeof given);
  ItemSetRawById(ctx_, kItem_wdmChapterNum, 5);
  ItemSetRawById(ctx_, kItem_wdmChapterTrayMax, 2);
  ItemSetRawById(ctx_, kItem_zdmFuncSelectDuplex, 1);
  ItemSetRawById(ctx_, kItem_zdmFuncSelectChapter, 1);
  EXPECT_EQ(Walk("Type : GroupType TOV_zdmFuncSelectChapter\n"),
            "@PJL SET CHAPTER=ON\r\n"
            "@PJL SET CHAPTERPRINTTRAY1 = TRAY \r\n@PJL SET CHAPTERPRINTDUPLEX1 = OFF \r\n"
            "@PJL SET CHAPTERPRINTTRAY2 = TRAY \r\n@PJL SET CHAPTERPRINTDUPLEX2 = ON \r\n"
            "@PJL SET CHAPTERPAGENUMBER1 = 3 \r\n@PJL SET CHAPTERPAGE1 = COPY \r\n"
            "@PJL SET CHAPTERPAGETRAY1 = CHAPTERPRINTTRAY1 \r\n"
            "@PJL SET CHAPTERPAGESTART2 = 5 \r\n@PJL SET CHAPTERPAGEEND2 = 9 \r\n"
            "@PJL SET CHAPTERPAGETRAY2 = CHAPTERPRINTTRAY2 \r\n"
            "@PJL SET CHAPTERPAGENUMBER3 = 12 \r\n@PJL SET CHAPTERPAGE3 = COPY \r\n"
            "@PJL SET CHAPTERPAGETRAY3 = CHAPTERPRINTTRAY1 \r\n"
            "@PJL SET CHAPTERPAGENUMBER4 = 14 \r\n@PJL SET CHAPTERPAGE4 = BREAK \r\n"
            "@PJL SET CHAPTERPAGETRAY5 = CHAPTERPRINTTRAY3 \r\n");
}

TEST_F(CommandListTest, LookupsOfThisBuild) {
  Walk("Type : StringType 1\n");
  // OptionCommandFind: the index, the any-index flag, none.
  const WORD copies = 1011;  // TOV_dmCopies
  EXPECT_NE(OptionCommandFind(copies, 0, ctx_), nullptr);
  EXPECT_EQ(OptionCommandFind(copies, 3, ctx_), nullptr);
  ModelItemDescriptor* d = const_cast<ModelItemDescriptor*>(OptionCommandFind(copies, 0, ctx_));
  d->type |= kOptionAnyIndex;
  EXPECT_EQ(OptionCommandFind(copies, 3, ctx_), d);
  EXPECT_EQ(OptionCommandFind(0, 0, ctx_), nullptr);
  // ModelGetBaseType per type.
  const struct {
    WORD id;
    int type;
  } kTypes[] = {{kItem_zdmSortType, 1}, {kItem_zdmFontTable, 1}, {kItem_zdmFuncSelectChapter, 4},
                {kItem_dmCopies, 8},    {kItem_zdmUserCode, 0x10}, {kItem_zdmScaleV, 0}};
  for (const auto& t : kTypes) EXPECT_EQ(ModelGetBaseType(ctx_, t.id), t.type) << "item " << t.id;
  // GrReadLogFileName without a buffer, a size or a value.
  char name[64];
  EXPECT_EQ(GrReadLogFileName(ctx_, name, sizeof name, office_), 0);
  SetPrinterText(office_, u"LogFileName", u"D:\\x.log");
  EXPECT_EQ(GrReadLogFileName(ctx_, nullptr, sizeof name, office_), 0);
  EXPECT_EQ(GrReadLogFileName(ctx_, name, 0, office_), 0);
  ASSERT_EQ(GrReadLogFileName(ctx_, name, sizeof name, office_), 1);
  EXPECT_STREQ(name, "D:\\x.log");
}

}  // namespace
