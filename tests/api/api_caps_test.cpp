// Capability items on the sample printer, in process: each answer form, the room of a fill,
// the special rules and that no handler leaves the settings changed.
#include <gtest/gtest.h>

#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include "api/api_inproc_fixture.h"
#include "core/devmode/dm_layout.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/resources.h"
#include "core/tables/value_symbols.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_services.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class ApiCapsTest : public ApiInProcessTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    Install();
    Enable();
  }
  // The built English language DLL in the driver folders, for the names read from strings.
  bool InstallLanguageDll() {
    ResFreeDlls(Ctx());
    for (const char* folder : {"2", "3"}) {
      std::error_code ec;
      const std::string dir = HostPath(std::string("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\") + folder);
      std::filesystem::create_directories(dir, ec);
      if (!std::filesystem::copy_file(BinDir() + "/zemsresus.dll", dir + "/zemsresus.dll",
                                      std::filesystem::copy_options::overwrite_existing, ec))
        return false;
    }
    return true;
  }
};

struct ListCase {
  DWORD id;
  std::vector<LONG> values;
};

TEST_F(ApiCapsTest, ValuesAndIntListsOfTheSample) {
  const ListCase values[] = {
      {1, {1}}, {9, {1}}, {17, {999}}, {24, {1}}, {74, {1}}, {95, {1}},
      {258, {0xFFFF}},  // zdmBrightness has no number node
      {26, {250}},      // zdmMarginOdd's maximum, 1181/1200 inch in 0.1 mm
      {262, {0}},       // zdmSaturation is not usable: the gate answers, not the 0xFFFF of a missing node
      {0x30000, {0}},
  };
  for (const ListCase& c : values) EXPECT_EQ(c.values[0], Caps(c.id)) << "caps " << c.id;
  const ListCase lists[] = {
      {2, {7, 1, 4}}, {6, {0}},  {18, {0, 2, 1, 3, 8}}, {45, {255, 0}},
      {47, {0, 1}},   {54, {3, 4}},
      {271, {160, 32, 32}},  // the quality slot, then the macro each of the two installed lists holds
  };
  for (const ListCase& c : lists) EXPECT_EQ(c.values, IntList(c.id)) << "caps " << c.id;
}

TEST_F(ApiCapsTest, NameListsInSlotsOfTheirWidth) {
  EXPECT_EQ((std::vector<std::string>{"Auto", "TRAY1", "Multi"}), Names(3, 24));
  const std::vector<std::string> media = Names(5, 64);
  ASSERT_EQ(8u, media.size());
  EXPECT_EQ("Plain", media[0]);
  EXPECT_EQ(media, Names(127, 260)) << "the same names in slots of 260 bytes";
  EXPECT_EQ("A4", Names(11, 64).at(1));
}

// Mode 0 names a value only through ApiValueNameTable; a value it does not list gets an empty
// slot, never the caller's bytes back.
TEST_F(ApiCapsTest, UnnamedValuesGetEmptySlots) {
  char buffer[2 * 64];
  memset(buffer, 'Z', sizeof(buffer));
  ApiCapsRoom room(2);
  ASSERT_EQ(2, ApiListValueNames(Api(), 0, buffer, kItem_zdmExtPrintArea, 64, 0));
  EXPECT_EQ(0, buffer[0]);
  EXPECT_EQ(0, buffer[64]);
  memset(buffer, 'Z', sizeof(buffer));
  ASSERT_EQ(2, ApiListValueNames(Api(), 0, buffer, kItem_zdmExtPrintArea, 64, 1));
  // Mode 1 takes the language string under the value's id, which may name something else or
  // nothing: a terminated slot either way, never the caller's bytes.
  for (int slot = 0; slot < 2; ++slot) {
    const std::string text(buffer + slot * 64, strnlen(buffer + slot * 64, 64));
    EXPECT_LT(text.size(), 64u) << slot;
    EXPECT_EQ(text.find('Z'), std::string::npos) << slot << ": " << text;
  }
}

// Every value id of the name table is the logical value of a listed value of some item (the
// radio button's control id), and the sample's language text holds the string it names.
TEST_F(ApiCapsTest, EveryNameTableValueIdNamesAListedValue) {
  constexpr WORD kPresetIconList = 2001;  // its value is the preset slot, not a control id
  ASSERT_TRUE(InstallLanguageDll());
  int rows = 0;
  for (const ApiValueName& row : ApiValueNameTable) {
    if (!row.valueId) break;
    ++rows;
    WCHAR text[64] = {};
    EXPECT_GT(ResLoadString(Ctx(), row.stringId, text, 64, FALSE), 0) << "string " << row.stringId;
    if (row.valueId == kPresetIconList) continue;
    bool listed = false;
    for (int i = 0; i < TblValueSymbolCount(0) && !listed; ++i) {
      const ValueSymbol* v = TblValueSymbolAt(0, i);
      if (v->logical != row.valueId || !v->itemId) continue;
      for (const ItemValueEntry* e = TblItemValueList(v->itemId); e && e->logical; ++e)
        if (e->logical == row.valueId && e->stored == v->stored) listed = true;
    }
    EXPECT_TRUE(listed) << "value id " << row.valueId << " names no listed value";
  }
  EXPECT_EQ(kApiValueNameRows - 1, rows);
  WCHAR unnamed[64] = {};
  EXPECT_GT(ResLoadString(Ctx(), 204, unnamed, 64, FALSE), 0) << "the name of a value without a code";
}

// Mode 0 through the table: the sample's sort kinds off, sort and shift; off is not in the table.
TEST_F(ApiCapsTest, ModeZeroNamesValuesThroughTheTable) {
  char buffer[3 * 64];
  memset(buffer, 'Z', sizeof(buffer));
  ASSERT_TRUE(InstallLanguageDll());
  ApiCapsRoom room(3);
  ASSERT_EQ(3, ApiListValueNames(Api(), 0, buffer, kItem_zdmSortType, 64, 0));
  EXPECT_EQ(std::string(), std::string(buffer));
  EXPECT_EQ("Value 2184", std::string(buffer + 64)) << "string 13474";
  EXPECT_EQ("Value 2185", std::string(buffer + 128)) << "string 13476";
}

TEST_F(ApiCapsTest, PairsOfExtentsAndScales) {
  struct PairCase {
    DWORD id;
    LONG answer;
    WORD first, second;
  } pairs16[] = {
      {13, MAKELONG(2160, 9000), 2160, 9000},
      {14, MAKELONG(900, 1400), 900, 1400},
      {20, MAKELONG(400, 400), 400, 400},
      {21, MAKELONG(25, 25), 25, 25},
  };
  for (const PairCase& c : pairs16) {
    WORD pair[2] = {};
    EXPECT_EQ(c.answer, Caps(c.id, pair)) << "caps " << c.id;
    EXPECT_EQ(c.first, pair[0]);
    EXPECT_EQ(c.second, pair[1]);
  }
  LONG maximum[2] = {}, minimum[2] = {};
  EXPECT_EQ(1, Caps(124, maximum));
  EXPECT_EQ(1, Caps(125, minimum));
  EXPECT_EQ(2160, maximum[0]);
  EXPECT_EQ(9000, maximum[1]);
  EXPECT_EQ(900, minimum[0]);
  EXPECT_EQ(1400, minimum[1]);
}

// Output trays start with the 0 entry; one tray alone leaves only that entry.
TEST_F(ApiCapsTest, OutputTraysByInstalledOptions) {
  EXPECT_EQ((std::vector<LONG>{0}), IntList(6)) << "the upper tray alone";
  ItemSetRawById(Ctx(), kItem_zdmOutputOptionTypeUpperBin, 1);
  EXPECT_EQ((std::vector<LONG>{0, 2, 13}), IntList(6));
  ItemSetRawById(Ctx(), kItem_zdmOutputOptionTypeMailbox2, 1);
  EXPECT_EQ((std::vector<LONG>{0, 2, 13, 15, 16, 17, 18}), IntList(6));
}

TEST_F(ApiCapsTest, DriverType1RefusesEmulationsWithError3) {
  ItemSetRawById(Ctx(), kItem_zdmDriverType, 1);
  EXPECT_EQ(-1, Caps(45));
  EXPECT_EQ(3, LastError());
  EXPECT_EQ(3, Caps(2)) << "another answer keeps the error as it was";
  EXPECT_EQ(3, LastError());
}

TEST_F(ApiCapsTest, LoadShareListsAValueOncePerOfferedRow) {
  ApiState* state = ApiGetState(Api());
  ASSERT_NE(nullptr, state);
  memset(state->loadShareUsable, 0, sizeof(state->loadShareUsable));
  state->loadShareUsable[0] = state->loadShareUsable[1] = 1;  // both rows of value 0
  state->loadShareUsable[4] = 1;
  EXPECT_EQ((std::vector<LONG>{0, 0, 2}), IntList(93));
}

TEST_F(ApiCapsTest, NoCapabilityLeavesTheSettingsChanged) {
  const BYTE* block = ApiSettings(Api());
  ASSERT_NE(nullptr, block);
  std::vector<BYTE> buffer(64 * 1024);
  // The paper-name lister loads the custom-size slots once through a settings snapshot, which
  // hands the block equal copies of its font tables (new addresses): that first load is done
  // before the settings are taken.
  Caps(11, nullptr);
  Caps(11, buffer.data());
  std::vector<BYTE> before(block, block + kDmBlockSize);
  for (DWORD id = 1; id <= 282; ++id) {
    if (id > 127 && id < 257) continue;
    Caps(id, nullptr);
    const LONG_PTR n = Caps(id, buffer.data());
    (void)n;
    std::vector<BYTE> after(block, block + kDmBlockSize);
    if (id == 18) {
      // Caps 18 refreshes the two companion flags and nothing else.
      after[kDmOffEnvFlags + kEnvJBInstalled] = before[kDmOffEnvFlags + kEnvJBInstalled];
      after[kDmOffEnvFlags + kEnvPLInstalled] = before[kDmOffEnvFlags + kEnvPLInstalled];
    }
    for (size_t i = 0; i < before.size(); ++i)
      ASSERT_EQ(before[i], after[i]) << "caps " << id << " changed the settings block at " << i;
  }
}

// A list that grows between the measure and the fill is refused: the caller's buffer holds
// only what the measure answered.
TEST_F(ApiCapsTest, FillNeverWritesMoreThanItsMeasure) {
  WriteSettingsKey("Count", u"2");
  ASSERT_EQ(2, Caps(85));
  WriteSettingsKey("Count", u"3");  // another process stored a preset
  LONG buffer[4] = {0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A};
  EXPECT_EQ(-1, Caps(85, buffer));
  EXPECT_EQ(100, LastError());
  for (LONG v : buffer) EXPECT_EQ(0x5A5A5A5A, v) << "nothing written";
  ASSERT_EQ(3, Caps(85));
  EXPECT_EQ(3, Caps(85, buffer));
  EXPECT_EQ(3, buffer[2]);
  EXPECT_EQ(0x5A5A5A5A, buffer[3]);
}

TEST_F(ApiCapsTest, InnerRoomBoundsAFill) {
  LONG buffer[3] = {-7, -7, -7};
  {
    ApiCapsRoom room(2);
    EXPECT_EQ(-1, ApiDispatchGetCaps(Api(), 2, buffer)) << "three sources do not fit two";
  }
  EXPECT_EQ(-7, buffer[0]);
  ApiCapsRoom room(3);
  EXPECT_EQ(3, ApiDispatchGetCaps(Api(), 2, buffer));
}

TEST_F(ApiCapsTest, PresetNamesAreCutOnACharacterBoundary) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  WriteSettingsKey("Count", u"2");
  // 62 ASCII bytes and a double-byte character: 64 bytes do not fit 63, the pair is dropped whole.
  WriteSettingsKey("PresetList0Name", std::u16string(62, u'a') + u"\u3042");
  WriteSettingsKey("PresetList1Name", u"short");
  const std::vector<std::string> names = Names(86, 64);
  SimSetAnsiCodePage(1252);
  ASSERT_EQ(2u, names.size());
  EXPECT_EQ(std::string(62, 'a'), names[0]);
  EXPECT_EQ("short", names[1]);
}

// Watermark kinds: 1 and 2 always; 3 only with the overlay button of the edit page; 128 only
// from level 3 with bit 0 of "ZEMSAPIFunc1".
class ApiWatermarkKindsTest : public ApiInProcessTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    InstallEdited({{"*OpenUI *TOV_zdmTonerSave: Boolean",
                     "*OpenUI *TOV_zdmFuncSelectWaterMark: Boolean\n*TOV_zdmFuncSelectWaterMark True: \"ON\"\n"
                     "*TOV_zdmFuncSelectWaterMark False: \"OFF\"\n*DefaultTOV_zdmFuncSelectWaterMark: False\n"
                     "*CloseUI\n\n*OpenUI *TOV_zdmTonerSave: Boolean"},
                    {"*Exclusive: {\n", "*Exclusive: {\n   TOV_zdmFuncSelectWaterMark NULL NULL NULL NULL NULL NULL NULL\n"}},
                   "ZEMSAPIVer=16", "ZEMSAPIVer=16\nZEMSAPIFunc1=1");
  }
};

TEST_F(ApiWatermarkKindsTest, KindsByLevelAndControls) {
  const struct {
    LONG level;
    bool overlayButton;
    std::vector<LONG> kinds;
  } cases[] = {{16, true, {1, 2, 3, 128}}, {3, true, {1, 2, 3, 128}}, {2, true, {1, 2, 3}},
               {16, false, {1, 2, 128}},   {2, false, {1, 2}}};
  for (const auto& c : cases) {
    Enable(c.level);
    if (!c.overlayButton) {
      // The context's copy of the edit page without the button.
      DlgControlRecord* button = CtlFind(Ctx(), PageFind(Ctx(), 1003), 2407);
      ASSERT_NE(nullptr, button);
      button->controlId = 0;
    }
    ASSERT_EQ(1, Caps(31)) << "the watermark function is offered";
    EXPECT_EQ(c.kinds, IntList(30)) << "level " << c.level << (c.overlayButton ? "" : " without the overlay button");
    ApiExportDisable(handle_);
    handle_ = nullptr;
  }
}

struct ControlRemoval {
  WORD page, control;
};

class ApiControlsCapsTest : public ApiInProcessTest {
 protected:
  // A fresh context whose own copy of the pages lost the given controls.
  void RemoveControls(const std::vector<ControlRemoval>& removed) {
    ApiExportDisable(handle_);
    Enable();
    for (const ControlRemoval& r : removed) {
      DlgControlRecord* control = CtlFind(Ctx(), PageFind(Ctx(), r.page), r.control);
      ASSERT_NE(nullptr, control) << r.page << "/" << r.control;
      control->controlId = 0;
      control->symbolId = 0;
    }
  }
};

class ApiStampCapsTest : public ApiControlsCapsTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    Install();
    Enable();
  }
};

// The two-plane stamp kinds: 1 with the choice of the text-stamp dialog, 2 with that of the
// image-stamp dialog.
TEST_F(ApiStampCapsTest, TwoPlaneStampsFollowTheirChoices) {
  const struct {
    std::vector<ControlRemoval> removed;
    std::vector<LONG> kinds;
  } cases[] = {
      {{}, {1, 2}},
      {{{1023, 2879}}, {1}},
      {{{1022, 2878}}, {2}},
      {{{1022, 2878}, {1023, 2879}}, {}},
  };
  for (const auto& c : cases) {
    RemoveControls(c.removed);
    EXPECT_EQ(c.kinds, IntList(77)) << c.removed.size() << " removed";
  }
}

// Toner save: capability 274 names the dialog that shows the switch (1 the print-quality page,
// 2 the user-others dialog, 0 neither); 275 lists the values only where the value's own
// control is on that dialog, else the current value alone.
class ApiTonerSaveCapsTest : public ApiControlsCapsTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    // The sample has no toner-save switch and describes the value as a Boolean: this model adds
    // the switch and gives the value its own list.
    InstallEdited({{"*OpenUI *TOV_zdmTonerSave: Boolean\n*OptionCommand: {\"@PJL SET ECONOMODE=\" \"<0D0A>\"}\n"
                    "*TOV_zdmTonerSave True: \"ON\"\n*TOV_zdmTonerSave False: \"OFF\"\n*DefaultTOV_zdmTonerSave: False\n",
                    "*OpenUI *TOV_zdmFuncSelectTonerSave: Boolean\n*TOV_zdmFuncSelectTonerSave True: \"ON\"\n"
                    "*TOV_zdmFuncSelectTonerSave False: \"OFF\"\n*DefaultTOV_zdmFuncSelectTonerSave: False\n"
                    "*CloseUI\n\n*OpenUI *TOV_zdmTonerSave: PickOne\n"
                    "*TOV_zdmTonerSave: IDList { {ZDMTONERSAVE_OFF \"OFF\"} {ZDMTONERSAVE_ON \"ON\"} }\n"
                    "*DefaultTOV_zdmTonerSave: ZDMTONERSAVE_OFF\n"}});
    Enable();
  }
};

TEST_F(ApiTonerSaveCapsTest, DialogAndValuesFollowTheControls) {
  const struct {
    const char* what;
    std::vector<ControlRemoval> removed;
    LONG dialog;
    size_t values;
  } cases[] = {
      {"all controls", {}, 1, 2},
      {"the switch only on the user-others dialog", {{1006, 2405}}, 2, 2},
      {"no value control beside the switch", {{1006, 2135}}, 1, 1},
      {"on neither dialog", {{1006, 2405}, {1029, 2302}}, 0, 0},
  };
  for (const auto& c : cases) {
    RemoveControls(c.removed);
    EXPECT_EQ(c.dialog, Caps(274)) << c.what;
    EXPECT_EQ(c.values, IntList(275).size()) << c.what;
  }
}

// On a terminal server (environment flag zdmTSE) the job-action capabilities answer 0.
TEST_F(ApiInProcessTest, TerminalServerHidesJobActions) {
  InstallEdited({{"*OpenUI *TOV_zdmTonerSave: Boolean",
                  "*OpenUI *TOV_zdmActionPause: Boolean\n*TOV_zdmActionPause True: \"ON\"\n"
                  "*TOV_zdmActionPause False: \"OFF\"\n*DefaultTOV_zdmActionPause: False\n"
                  "*CloseUI\n\n*OpenUI *TOV_zdmTonerSave: Boolean"},
                 {"*Exclusive: {\n", "*Exclusive: {\n   TOV_zdmActionPause NULL NULL NULL NULL NULL NULL NULL\n"}});
  Enable(16);
  EXPECT_EQ(1, Caps(121));
  ItemSetRawById(Ctx(), kItem_zdmTSE, 1);
  EXPECT_EQ(0, Caps(121));
}

}  // namespace
}  // namespace zems_test
