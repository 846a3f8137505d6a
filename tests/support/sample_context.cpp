#include "support/sample_context.h"

#include <filesystem>
#include <string>

#include "core/front/page_lookup.h"
#include "platform/sim.h"

namespace zems_test {

void SampleContextTest::SetUp() {
  ContextTest::SetUp();
  if (HasFatalFailure()) return;
  std::error_code ec;
  const std::string folder = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3");
  std::filesystem::create_directories(folder, ec);
  ASSERT_TRUE(std::filesystem::copy_file(BinDir() + "/zemsresus.dll", folder + "/zemsresus.dll",
                                         std::filesystem::copy_options::overwrite_existing, ec))
      << ec.message();
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  SimUiReset();
}

void SampleContextTest::ForgetWindows(WORD pageId) {
  DlgPageRecord* page = ctx_ ? PageFind(ctx_, pageId) : nullptr;
  if (!page) return;
  page->window = NULL;
  for (int c = 0; c < page->controlCount; ++c) page->controls[c].window = NULL;
}

void SampleContextTest::TearDown() {
  if (ctx_) CtxClose(ctx_);
  ctx_ = nullptr;
  SimUiReset();
  ContextTest::TearDown();
}

}  // namespace zems_test
