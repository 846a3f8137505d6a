#include "resources/resource_fixture.h"

#include <filesystem>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/languages.h"
#include "support/test_printer.h"

namespace zems_test {

const char* const kResourceDlls[3] = {"zemsresus.dll", "zemsresfr.dll", "zemsrCsXX.dll"};

bool CopyBuiltDll(const std::string& leaf, const std::string& windowsFolder) {
  std::error_code ec;
  std::string folder = HostPath(windowsFolder);
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::copy_file(BinDir() + "/" + leaf, folder + "/" + leaf,
                                    std::filesystem::copy_options::overwrite_existing, ec);
}

void ResourceContextTest::SetUp() {
  ItemContextTest::SetUp();
  // The language DLL's name comes from the model description.
  model_ = std::make_unique<SampleModel>(ctx());
  ASSERT_NE(model_->image(), nullptr);
  // A context without a printer takes the version-2 driver folder.
  for (const char* dll : kResourceDlls)
    ASSERT_TRUE(CopyBuiltDll(dll, "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\")) << dll;
  SetLanguage(u"us");
  SetMetric(true);
}

void ResourceContextTest::TearDown() {
  ResFreeDlls(ctx());
  model_.reset();
  ItemContextTest::TearDown();
}

void ResourceContextTest::SetLanguage(const char16_t* code) {
  // A new language means other DLLs: drop the loaded ones.
  ResFreeDlls(ctx());
  ItemSetRawById(ctx(), kItem_zdmLanguageID, ResLangIndexFromCode(reinterpret_cast<LPCWSTR>(code)));
}

void ResourceContextTest::SetMetric(bool metric) { ItemSetRawById(ctx(), kItem_zdmDspUnit, metric ? 0 : 1); }

std::u16string ResourceContextTest::Load(UINT id, int size, BOOL complete) {
  std::u16string buffer(size_t(size) + 8, u'#');
  ResLoadString(ctx(), id, &buffer[0], size, complete);
  for (size_t i = size_t(size); i < buffer.size(); ++i)
    EXPECT_EQ(u'#', buffer[i]) << "string " << id << " written past " << size;
  return std::u16string(buffer.c_str());
}

}  // namespace zems_test
