// The build switches as each of the three DLLs carries them. The test program links its own
// switch table, so each DLL's table is compiled in here under a namespace of its own; the
// headers they include are taken first, so that only the table itself lands in the namespace.
#include <gtest/gtest.h>

#include <string>

#include "core/devmode/dm_layout.h"
#include "core/system/languages.h"
#include "core/tables/build_switches.h"
#include "core/store/item_store.h"
#include "core/store/settings_file.h"
#include "ui2k/dlg_notify.h"
#include "ui2k/host_repair.h"

namespace printer_interface {
#include "ui2k/build_variant.cpp"
}
namespace graphics {
#include "gr2k/build_variant.cpp"
}
namespace exclusion {
#include "exclude/build_variant.cpp"
}

namespace {

TEST(DeliverableSwitches, DevmodeStepsByDll) {
  // Only the printer interface writes the common mark and applies option requests; the
  // graphics DLL neither tests the companions again nor resets the work items of a taken
  // DEVMODE; the exclusion DLL keeps locked settings and never asks for the companions.
  EXPECT_EQ(printer_interface::BuildGetVariant().devmodeSteps,
            DWORD(kDmStepCommonMark | kDmStepOptionBlock | kDmStepRetestCompanions | kDmStepJobControlFetch |
                  kDmStepEnvCompanions | kDmStepResetWorkItems));
  EXPECT_EQ(graphics::BuildGetVariant().devmodeSteps, DWORD(kDmStepEnvCompanions));
  EXPECT_EQ(exclusion::BuildGetVariant().devmodeSteps,
            DWORD(kDmStepRetestCompanions | kDmStepLockDataNot9x | kDmStepResetWorkItems |
                  kDmStepKeepLockedDefaults));
}

TEST(DeliverableSwitches, TheThreeDllsDifferOnlyInTheOpensInstallStepLoaderAndChangeNotification) {
  struct Case {
    const BuildVariant& variant;
    const char* name;
    int installStep;
    int (*loadAtOpen)(DriverContext*);  // the graphics DLL writes nothing back at open
    void (*notifyChange)(DriverContext*, WORD);  // only the printer interface has a dialog engine
  } cases[] = {
      {printer_interface::BuildGetVariant(), "zemsui", 1, StoreLoadAtOpen, DlgNotifyChange},
      {graphics::BuildGetVariant(), "zemsgr", 0, StoreLoadAtOpenNoWriteBack, nullptr},
      {exclusion::BuildGetVariant(), "zemsexc", 0, StoreLoadAtOpen, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(std::string(c.variant.deliverable), c.name);
    EXPECT_EQ(c.variant.featureCount, 6);
    EXPECT_EQ(c.variant.commonDriver, 1);
    EXPECT_EQ(c.variant.featureBits, 1u << 7);
    EXPECT_EQ(c.variant.featureFlags, 1u << 0);
    EXPECT_EQ(c.variant.openHasInstallStep, c.installStep);
    // Every context carries its own pages and controls, whichever DLL opened it.
    EXPECT_EQ(c.variant.loadAtOpen, c.loadAtOpen);
    EXPECT_NE(c.variant.installedLangCode, nullptr);
    EXPECT_EQ(c.variant.notifyChange, c.notifyChange);
  }
}

// The paper and public-field forms: the graphics DLL's custom-paper rules, its quality lists
// loaded without their names and its custom-size slots named by their item in every field; the
// exclusion DLL's portrait-ordered paper fields and its quality lists of macros 32-39 only.
TEST(DeliverableSwitches, PaperAndMergeForms) {
  struct Case {
    const BuildVariant& variant;
    const char* name;
    int graphics;
    int exclusion;
  } cases[] = {
      {printer_interface::BuildGetVariant(), "zemsui", 0, 0},
      {graphics::BuildGetVariant(), "zemsgr", 1, 0},
      {exclusion::BuildGetVariant(), "zemsexc", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.variant.inputPaperSwapAlways, c.graphics);
    EXPECT_EQ(c.variant.outputPaperCopyFirst, c.graphics);
    EXPECT_EQ(c.variant.size1200BySlotOrientation, c.graphics);
    EXPECT_EQ(c.variant.mergeKeepsExplicitSize, c.graphics);
    EXPECT_EQ(c.variant.userMacroSkipName, c.graphics);
    EXPECT_EQ(c.variant.freeSizeNameInAllFields, c.graphics);
    EXPECT_EQ(c.variant.paperFieldsPortrait, c.exclusion);
    EXPECT_EQ(c.variant.userMacroListsOnly, c.exclusion);
  }
}

}  // namespace

namespace {

TEST(DeliverableSwitches, OnlyTheExclusionDllAcceptsTheApplicationCodesInValueChecks) {
  EXPECT_EQ(0, printer_interface::BuildGetVariant().checkAcceptsApiCodes);
  EXPECT_EQ(0, graphics::BuildGetVariant().checkAcceptsApiCodes);
  EXPECT_NE(0, exclusion::BuildGetVariant().checkAcceptsApiCodes);
}

}  // namespace

namespace {

TEST(DeliverableSwitches, OnlyTheExclusionDllAppliesUserPresetsPlainly) {
  EXPECT_EQ(0, printer_interface::BuildGetVariant().presetPlainApply);
  EXPECT_EQ(0, graphics::BuildGetVariant().presetPlainApply);
  EXPECT_EQ(1, exclusion::BuildGetVariant().presetPlainApply);
}

}  // namespace

namespace {

// Plain settings-file loads run without job control in the two DLLs without a user interface
// (the graphics DLL's form keeps the adjust mode through the merge). The exclusion DLL alone:
// its ini section names keep double-byte characters whole on Windows 9x, and its custom media
// strings complete to the media's names; both report refused settings files by status alone,
// so that their item-section transfer shows no header or locked-settings message.
TEST(DeliverableSwitches, TheExclusionDllsStoreAndStringForms) {
  struct Case {
    const BuildVariant& variant;
    const char* name;
    void (*postLoad)(DriverContext*, LONG_PTR, const LONG_PTR*);
    int exclusion;
  } cases[] = {
      {printer_interface::BuildGetVariant(), "zemsui", nullptr, 0},
      {graphics::BuildGetVariant(), "zemsgr", StoreSettingsFileFixUpsGraphics, 0},
      {exclusion::BuildGetVariant(), "zemsexc", StoreSettingsFileFixUpsNoJobControl, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.variant.settingsFilePostLoad, c.postLoad);
    EXPECT_EQ(c.variant.sectionLeadByteRule, c.exclusion);
    EXPECT_EQ(c.variant.completeCustomMediaNames, c.exclusion);
    EXPECT_EQ(c.variant.settingsFileMessages, c.postLoad ? 0 : 1);
  }
}

}  // namespace
