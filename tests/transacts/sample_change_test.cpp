// The sample model's follow-ups of a change on an opened context: an envelope runs
// PaperChanged, duplex on small paper raises DuplexWarning and its answers.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/common/locks.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_cache.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/alerts.h"
#include "core/rules/model_rules.h"
#include "core/rules/transacts.h"
#include "core/tables/model_record.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "support/sample_model.h"
#include "support/test_printer.h"

namespace {

// Logical values of value symbols by name.
WORD Val(const char* name) { return zems_test::SymbolLogical(name); }

class SampleChangeTest : public zems_test::ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    ASSERT_NE(ctx_->modelImage, nullptr);
    Set("TOV_dmPaperSize", "DMPAPERSIZE_A4");
    Set("TOV_dmOrientation", "DMORIENTATION_PORTRAIT");
    ASSERT_TRUE(ItemSetRawById(ctx_, kItem_zdmSourceOptionTypeDuplex, 1));
  }
  void TearDown() override {
    CtxRelease(ctx_, kReleaseExpired);
    ModelFreeImageCache();
    LockTermProcess();
    LockInitProcess();
    ContextTest::TearDown();
  }
  WORD Item(const char* symbol) {
    const SymbolEntry* s = TblFindSymbolByName(symbol);
    EXPECT_NE(s, nullptr) << symbol;
    return s ? s->itemId : 0;
  }
  void Set(const char* symbol, const char* value) {
    ASSERT_TRUE(ItemSetValueById(ctx_, Item(symbol), Val(value))) << symbol << " " << value;
  }
  LONG_PTR Get(const char* symbol) { return ItemGetValueById(ctx_, Item(symbol)); }
  const ModelItemDescriptor* Desc(const char* symbol) {
    return ModelDescriptorOf(ctx_, TblFindSymbolByName(symbol)->symbolId);
  }
  std::vector<BYTE> Settings() {
    const BYTE* p = static_cast<const BYTE*>(ctx_->settings);
    return std::vector<BYTE>(p, p + kSettingsBlockSize);
  }

  DriverContext* ctx_ = nullptr;
};

TEST_F(SampleChangeTest, AnEnvelopeTurnsStaplePunchAndDuplexOff) {
  Set("TOV_zdmStapleType", "ZDMSTAPLETYPE_LEFT2");
  Set("TOV_zdmPunchType", "ZDMPUNCHTYPE_LEFT2");
  Set("TOV_zdmFuncSelectDuplex", "ZDMFUNCSELECTDUPLEX_ON");
  EXPECT_EQ(ModelRunItemTransacts(Desc("TOV_dmPaperSize"), ctx_), 0) << "A4: nothing to do";
  EXPECT_EQ(Get("TOV_zdmStapleType"), Val("ZDMSTAPLETYPE_LEFT2"));
  EXPECT_EQ(Get("TOV_zdmFuncSelectDuplex"), Val("ZDMFUNCSELECTDUPLEX_ON"));
  Set("TOV_dmPaperSize", "DMPAPERSIZE_ENV10");
  EXPECT_EQ(ModelRunItemTransacts(Desc("TOV_dmPaperSize"), ctx_), 0);
  EXPECT_EQ(Get("TOV_zdmStapleType"), Val("ZDMSTAPLETYPE_OFF"));
  EXPECT_EQ(Get("TOV_zdmPunchType"), Val("ZDMPUNCHTYPE_OFF"));
  EXPECT_EQ(Get("TOV_zdmFuncSelectDuplex"), Val("ZDMFUNCSELECTDUPLEX_OFF"));
}

TEST_F(SampleChangeTest, DuplexOnSmallPaperRaisesTheWarning) {
  const WORD message = TblFindMessageByName(nullptr, "TOV_DuplexOnMessage")->messageId;
  struct Case {
    const char* paper;
    const char* duplex;
    int message;
  } cases[] = {
      {"DMPAPERSIZE_A5", "ZDMFUNCSELECTDUPLEX_ON", message},
      {"DMPAPERSIZE_A5", "ZDMFUNCSELECTDUPLEX_OFF", 0},
      {"DMPAPERSIZE_A4", "ZDMFUNCSELECTDUPLEX_ON", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.paper) + " " + c.duplex);
    Set("TOV_dmPaperSize", c.paper);
    Set("TOV_zdmFuncSelectDuplex", c.duplex);
    EXPECT_EQ(ModelCheckItemAlert(Desc("TOV_zdmFuncSelectDuplex"), ctx_), c.message);
  }
  Set("TOV_dmPaperSize", "DMPAPERSIZE_A5");
  Set("TOV_zdmFuncSelectDuplex", "ZDMFUNCSELECTDUPLEX_ON");
  const AlertRecord* alert = JudgeFirstTrueEntry(Desc("TOV_zdmFuncSelectDuplex")->exclusive->alert, ctx_);
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->messageId, message);
  EXPECT_EQ(alert->icon, MB_ICONEXCLAMATION);
  EXPECT_EQ(alert->buttons, MB_OKCANCEL);
  EXPECT_EQ(alert->timing, 0) << "AlertAtOnce";
}

TEST_F(SampleChangeTest, CancelUndoesDuplexAndOkChangesNothing) {
  Set("TOV_dmPaperSize", "DMPAPERSIZE_A5");
  Set("TOV_zdmFuncSelectDuplex", "ZDMFUNCSELECTDUPLEX_ON");
  const AlertRecord* alert = JudgeFirstTrueEntry(Desc("TOV_zdmFuncSelectDuplex")->exclusive->alert, ctx_);
  ASSERT_NE(alert, nullptr);
  const std::vector<BYTE> before = Settings();
  EXPECT_EQ(ModelRunAlertAction(alert, IDOK, ctx_), 0);
  EXPECT_EQ(Settings(), before);
  EXPECT_EQ(ModelRunAlertAction(alert, IDCANCEL, ctx_), 0);
  EXPECT_EQ(Get("TOV_zdmFuncSelectDuplex"), Val("ZDMFUNCSELECTDUPLEX_OFF"));
}

}  // namespace
