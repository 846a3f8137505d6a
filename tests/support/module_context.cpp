#include "support/module_context.h"

#include <string>

#include "core/store/store_keys.h"

namespace zems_test {

void ModuleContextTest::SetUp() {
  ContextTest::SetUp();
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(nullptr, ctx_);
  StoreCopySettingsIni(ctx_, ini_);
  StoreCopyPrinterName(ctx_, section_, 261);
  // The settings folder of a fresh machine exists once the install made it.
  std::string path;
  for (int i = 0; ini_[i]; ++i) path += static_cast<char>(ini_[i]);
  ASSERT_TRUE(WriteMachineFile(path, ""));
}

void ModuleContextTest::TearDown() {
  if (ctx_) CtxRelease(ctx_, kReleaseExpired);
  ContextTest::TearDown();
}

}  // namespace zems_test
