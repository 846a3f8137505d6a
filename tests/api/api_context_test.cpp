// The interface's own code on a context of the sample printer, with the settings reached
// directly: the terminal-server and print-macro gates, the preset number, the 600-dpi rule,
// the enable-time preparations.
#include <gtest/gtest.h>

#include <string.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sstream>
#include <vector>

#include "api/api_inproc_fixture.h"
#include "core/pjl/pjl_service.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_levels.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

struct Record {
  DWORD version;
  LONG value;
  LONG rest[6];
};

class ApiContextTest : public ApiInProcessTest {
 protected:
  void TearDown() override {
    ApiInProcessTest::TearDown();
    ApiResetGlobals();
  }
  void Enable(const std::string& extraModel = "", const char16_t* qualityList0 = nullptr) {
    std::string model = SourceDir() + "/samples/models/zems_c4.zmd";
    if (!extraModel.empty()) {
      std::ifstream in(model, std::ios::binary);
      std::stringstream text;
      text << in.rdbuf() << extraModel;
      model = Root() + "/api_model.zmd";
      std::ofstream(model, std::ios::binary) << text.str();
    }
    ASSERT_EQ(0, RunHostKept("machine install --model " + model + " --printer Api --extra " + SourceDir() +
                         "/samples/driver/OV1BD172.ini"));
    if (qualityList0) {
      char path[MAX_PATH] = {};
      int length = 0;
      ASSERT_EQ(0, ExcServiceGetIniFileName("Api", MAX_PATH, path, &length));
      WCHAR wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
      const std::string host = HostPath(path);
      std::filesystem::create_directories(host.substr(0, host.rfind('/')));
      ASSERT_TRUE(WritePrivateProfileStringW(TEXT("Api"), TEXT("QualityList0"),
                                             reinterpret_cast<const WCHAR*>(qualityList0), wide));
      settingsFile_ = wide;
    }
    handle_ = ApiExportEnable("Api");
    ASSERT_NE(nullptr, handle_);
    const LONG wanted[2] = {0, 16};
    ASSERT_EQ(1, ApiExportInit(1, wanted));
    ApiContext* api = ApiEnterCall(handle_);
    ASSERT_NE(nullptr, api);
    ctx_ = api->ctx;
    ApiLeaveCall(api);
  }
  LONG Set(DWORD id, LONG value) {
    Record r = {1, value, {}};
    return ApiExportSetStatus(handle_, id, &r, nullptr, 0);
  }
  std::u16string QualityList128() {
    WCHAR text[MAX_PATH] = {};
    GetPrivateProfileStringW(TEXT("Api"), TEXT("QualityList128"), TEXT("(none)"), text, MAX_PATH,
                             reinterpret_cast<const WCHAR*>(settingsFile_.c_str()));
    return reinterpret_cast<const char16_t*>(text);
  }
  DriverContext* ctx_ = nullptr;
  std::u16string settingsFile_;
};

TEST_F(ApiContextTest, TerminalServerRefusesJobActions) {
  Enable();
  CtxSetTSE(ctx_, 1);
  std::vector<BYTE> before(CtxGetSettings(ctx_), CtxGetSettings(ctx_) + kDmSize);
  EXPECT_EQ(-1, Set(30, 1));
  EXPECT_EQ(1002, ApiExportGetLastError(handle_));
  EXPECT_EQ(0, memcmp(before.data(), CtxGetSettings(ctx_), kDmSize)) << "the DEVMODE is unchanged";
}

TEST_F(ApiContextTest, PrintMacroRuleGatesQualityItems) {
  Enable("\n*OpenUI *TOV_zdmUseUserMacro: Boolean\n*TOV_zdmUseUserMacro True: \"ON\"\n"
         "*TOV_zdmUseUserMacro False: \"OFF\"\n*DefaultTOV_zdmUseUserMacro: False\n*CloseUI\n");
  EXPECT_EQ(-1, Set(38, 0));
  EXPECT_EQ(1000, ApiExportGetLastError(handle_)) << "user macros are offered but not in use";
}

TEST_F(ApiContextTest, PresetNumberBecomes255AfterASet) {
  Enable();
  ItemSetRawById(ctx_, kItem_zdmPresetNo, 3);
  ASSERT_EQ(0, Set(9, 2));
  EXPECT_EQ(255, static_cast<BYTE>(ItemGetRawById(ctx_, kItem_zdmPresetNo)));
}

TEST_F(ApiContextTest, Resolution600RuleOfMachine130) {
  Enable();
  for (LONG machine : {0, 130}) {
    SCOPED_TRACE(machine);
    ItemSetRawById(ctx_, kItem_zdmMachineID, machine);
    ItemSetRawById(ctx_, kItem_zdmSourceOptionTypeDuplex, 1);
    ItemSetRawById(ctx_, kItem_zdmFuncSelectDuplex, 1);
    ItemSetRawById(ctx_, kItem_zdmDstResolutionW, 1200);
    ItemSetRawById(ctx_, kItem_zdmDstResolutionBoth, 4);
    ItemSetRawById(ctx_, kItem_zdmPrinterMemory, 32);
    std::vector<BYTE> dm(kDmSize);
    ASSERT_EQ(static_cast<LONG>(kDmSize), ApiExportGetDevmode(handle_, 4, dm.data()));
    const bool rule = machine == 130;
    if (rule) {
      EXPECT_EQ(600, ItemGetRawById(ctx_, kItem_zdmDstResolutionW));
      EXPECT_EQ(600, ItemGetRawById(ctx_, kItem_zdmDstResolutionH));
    }
    EXPECT_EQ(rule ? 3 : 4, ItemGetRawById(ctx_, kItem_zdmDstResolutionBoth));
  }
}

TEST_F(ApiContextTest, DefaultLockKeepsTheSettingsOfARebuild) {
  Enable();
  ASSERT_EQ(0, Set(9, 4));
  std::vector<BYTE> dm(kDmSize);
  ASSERT_EQ(static_cast<LONG>(kDmSize), ApiExportGetDevmode(handle_, 1, dm.data()));
  EXPECT_EQ(1, ItemGetRawById(ctx_, kItem_dmCopies)) << "without the lock flag 1 rebuilds the defaults";
  ASSERT_EQ(0, Set(9, 4));
  ItemSetRawById(ctx_, kItem_zdmLock000InfoBitDefault, 1);
  ASSERT_EQ(static_cast<LONG>(kDmSize), ApiExportGetDevmode(handle_, 1, dm.data()));
  EXPECT_EQ(4, ItemGetRawById(ctx_, kItem_dmCopies)) << "the default lock keeps the settings";
}

TEST_F(ApiContextTest, EnableWithEachAllocationFailedKeepsNothing) {
  Enable();
  ASSERT_EQ(1, ApiExportDisable(handle_));
  handle_ = nullptr;
  const LONG level = ApiGetLevel();
  for (int n = 0; n < 3000; ++n) {
    SimFailAllocations(n);
    void* h = ApiExportEnable("Api");
    SimFailAllocations(-1);
    if (h) {
      handle_ = h;
      return;
    }
    ASSERT_EQ(0, ApiLiveContextCount()) << "allocation " << n;
    ASSERT_EQ(level, ApiGetLevel()) << "allocation " << n;
  }
  ADD_FAILURE() << "enable never succeeded";
}

TEST_F(ApiContextTest, QualityList128IsListZeroWithAY) {
  Enable("", u"C:\\q\\zqfast.rsq");
  EXPECT_EQ(u"C:\\q\\zqfasy.rsq", QualityList128());
}

TEST_F(ApiContextTest, QualityList128NeedsACharacterBeforeTheDot) {
  Enable("", u".rsq");
  EXPECT_EQ(u"(none)", QualityList128()) << "a dot at index 0 has nothing before it";
}

TEST_F(ApiContextTest, EnablePreparesTheChapterArrayAndSnapshots) {
  Enable();
  ApiContext* api = ApiEnterCall(handle_);
  ASSERT_NE(nullptr, api);
  DWORD count = 0;
  EXPECT_NE(nullptr, ApiChapterArray(api, &count));
  EXPECT_EQ(static_cast<DWORD>(ItemGetRawById(ctx_, kItem_wdmChapterMax)) + 1, count);
  ASSERT_NE(nullptr, api->state);
  EXPECT_EQ(kApiLastStatusId, api->state->constraintIds) << "the snapshot holds every status id";
  EXPECT_EQ(nullptr, ctx_->printer) << "the printer closed after enable is not kept";
  ApiLeaveCall(api);
}

// Up to level 8 a context keeps only the acquisition's codes (200-202) as its last error.
TEST_F(ApiContextTest, LowLevelsKeepOnlyAcquisitionErrors) {
  Enable();
  ApiContext* api = ApiEnterCall(handle_);
  ASSERT_NE(nullptr, api);
  const LONG level = api->level;
  api->level = 8;
  for (LONG code : {14, 199, 200, 201, 202, 203})
    EXPECT_EQ(code >= 200 && code <= 202 ? 1 : 0, ApiSetLastError(api, code)) << code;
  api->level = level;
  EXPECT_EQ(1, ApiSetLastError(api, 14)) << "above level 8 every code is kept";
  ApiLeaveCall(api);
}

// What a context measured goes with it: a closed context leaves no measures behind.
TEST_F(ApiContextTest, DisableForgetsTheContextsMeasures) {
  Enable();
  const LONG before = ApiCapsMeasuredContexts();
  ASSERT_GE(ApiExportGetCaps(handle_, 2, nullptr), 0);  // a list measured: the input trays
  EXPECT_EQ(before + 1, ApiCapsMeasuredContexts());
  ASSERT_EQ(1, ApiExportDisable(handle_));
  handle_ = nullptr;
  EXPECT_EQ(before, ApiCapsMeasuredContexts());
}

}  // namespace
}  // namespace zems_test
