// A context whose driver folder holds the built resource DLLs, with the display language and
// unit set by each test.
#pragma once
#include <memory>
#include <string>

#include "core/system/resources.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace zems_test {

// Copies bin/<leaf> into the machine folder (Windows path ending in '\'); false on failure.
bool CopyBuiltDll(const std::string& leaf, const std::string& windowsFolder);
// The three resource DLLs of the build.
extern const char* const kResourceDlls[3];

class ResourceContextTest : public ItemContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Display language by its code ("us", "fr", ...) and unit (true: 0.1 mm).
  void SetLanguage(const char16_t* code);
  void SetMetric(bool metric);
  std::u16string Load(UINT id, int size = 512, BOOL complete = TRUE);

 private:
  std::unique_ptr<SampleModel> model_;
};

}  // namespace zems_test
