// The colour-data file of the job header, by model, colour matching, object kind and medium.
#include <string>

#include <gtest/gtest.h>

#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/system/driver_paths.h"
#include "core/tables/model_record.h"
#include "gr2k/job_header.h"
#include "support/test_printer.h"

namespace {

using zems_test::ContextTest;

class ColourDataTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    char dir[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, PathGetDriverDir(ctx_), -1, dir, MAX_PATH, nullptr, nullptr);
    dir_ = dir;
  }
  void TearDown() override {
    CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  // The text kind 101 or 102 writes for a command of this index; "-" when the kind is not handled.
  std::string Select(WORD kind, WORD index) {
    static char prefix[] = "[", suffix[] = "]";
    OptionCommandPair pair = {prefix, suffix};
    ModelItemDescriptor command = {};
    command.commands = &pair;
    TextBuffer text = {};
    PjlTextInit(&text);
    HeaderWalk walk = {};
    walk.ctx = ctx_;
    walk.out = &text;
    int handled = SelectColorDataFile(&walk, kind, &command, index);
    std::string out = handled ? std::string(text.data, size_t(text.length)) : "-";
    PjlTextFree(&text);
    return out;
  }
  void Settings(BYTE model, LONG colour, LONG matching, LONG media, LONG adjust = 0) {
    ctx_->model->modelCode = model;
    ItemSetRawById(ctx_, kItem_zdmMachineTypeColor, colour);
    ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, matching);
    ItemSetRawById(ctx_, kItem_zdmMediaType, media);
    ItemSetRawById(ctx_, kItem_zdmAdjustMode, adjust);
  }

  DriverContext* ctx_ = nullptr;
  std::string dir_;
};

TEST_F(ColourDataTest, FileByModelMatchingObjectAndMedium) {
  const struct {
    const char* what;
    BYTE model;
    LONG colour, matching, media;
    WORD kind, index;
    const char* file;  // null: nothing written
  } kCases[] = {
      {"monochrome machine", 130, 0, 1, 0, 101, 0, nullptr},
      {"model 130, mode 1, special medium", 130, 1, 1, 2, 101, 0, "OV80C153.vtc"},
      {"model 130, mode 2, plain medium", 130, 1, 2, 0, 101, 0, "OV80C152.vtc"},
      {"model 137, image command, mode 5", 137, 1, 5, 0, 101, 3, "OV82C152.vtc"},
      {"model 137, mode 0", 137, 1, 0, 0, 101, 0, nullptr},
      {"other model, mode 128, special medium", 77, 1, 128, 2, 101, 1, "OV99C153.vtc"},
      {"variant-1 model, mode 1", 143, 1, 1, 0, 101, 0, "OV85C151.vtc"},
      {"variant-1 model, mode 5: no file, not the bare folder", 143, 1, 5, 0, 101, 0, nullptr},
      {"model 160, kind 102, mode 37", 160, 1, 37, 0, 102, 0, "OV8EC15B.vtc"},
      {"model 143, kind 102, mode 37", 143, 1, 37, 0, 102, 0, "OV85C151.vtc"},
      {"other model, kind 102, f 32", 77, 1, 32, 0, 102, 0, "OV99C151.vtc"},
      {"model 160, kind 102, f 36", 160, 1, 36, 0, 102, 0, "OV8EC15H.vtc"},
      {"kind 102, text command, mode 128", 77, 1, 128, 0, 102, 0, "OV99C153.vtc"},
      {"kind 102, line command, mode 130", 77, 1, 130, 0, 102, 1, "OV99C151.vtc"},
      {"kind 102, mode 131, text", 77, 1, 131, 0, 102, 0, nullptr},
      {"model 181, kind 102", 181, 1, 2, 0, 102, 0, "OV94C050.dat"},
      {"model 181, kind 101", 181, 1, 1, 0, 101, 0, "OV99C151.vtc"},
      {"monochrome machine, kind 102", 181, 0, 2, 0, 102, 0, nullptr},
  };
  for (const auto& c : kCases) {
    Settings(c.model, c.colour, c.matching, c.media);
    EXPECT_EQ(Select(c.kind, c.index), c.file ? "[" + dir_ + c.file + "]" : std::string()) << c.what;
  }
  EXPECT_EQ(Select(100, 0), "-") << "other kinds are not handled here";
}

TEST_F(ColourDataTest, AdjustModeTakesTheObjectsMatching) {
  Settings(77, 1, 0, 0, 1);
  ItemSetRawById(ctx_, kItem_wdmColorMatchingText, 1);
  ItemSetRawById(ctx_, kItem_wdmColorMatchingImage, 2);
  EXPECT_EQ(Select(101, 0), "[" + dir_ + "OV99C151.vtc]");
  EXPECT_EQ(Select(101, 3), "[" + dir_ + "OV99C152.vtc]");
  EXPECT_EQ(Select(102, 3), "[" + dir_ + "OV99C152.vtc]");
}

// A module that answers the profile notifications as the quality module does: the profile the
// code names goes into the UI state.
WORD g_notified = 0;
int NotifyProfile(DriverContext* ctx, WORD code, void*) {
  g_notified = code;
  const char16_t path[] = u"C:\\profiles\\user.icm";
  memcpy(ctx->ui->cmmPath, path, sizeof path);
  return 1;
}

TEST_F(ColourDataTest, AUserProfileIsAnnouncedAndItsPathWritten) {
  UiModuleEntry rows[1] = {};
  rows[0].notify = NotifyProfile;
  ModBusFree(ctx_);
  ASSERT_TRUE(ModBusLoadRows(ctx_, rows, 1));
  Settings(77, 1, 205, 0);
  EXPECT_EQ(Select(102, 0), "[C:\\profiles\\user.icm]");
  EXPECT_EQ(g_notified, 114);
  Settings(77, 1, 0, 0, 1);
  ItemSetRawById(ctx_, kItem_wdmColorMatchingLine, 201);
  Select(102, 2);
  EXPECT_EQ(g_notified, 116);
  ModBusFree(ctx_);
  ModBusLoad(ctx_);
}

}  // namespace
