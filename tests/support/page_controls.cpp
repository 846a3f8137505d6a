#include "support/page_controls.h"

#include <string.h>

#include <filesystem>

#include "core/common/mem.h"
#include "core/front/page_lookup.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {

DlgPageRecord* ReplacePageControls(DriverContext* ctx, WORD dialogId, const std::vector<DlgControlRecord>& controls) {
  DlgPageRecord* page = PageFind(ctx, dialogId);
  if (!page) return nullptr;
  MemFree(page->controls);
  page->controls = static_cast<DlgControlRecord*>(MemAllocZero(sizeof(DlgControlRecord) * (controls.size() + 1)));
  memcpy(page->controls, controls.data(), sizeof(DlgControlRecord) * controls.size());
  page->controlCount = static_cast<WORD>(controls.size());
  return page;
}

namespace {

// Copies bin/<built> into the sample printer's driver folder as `name`.
bool InstallDriverFile(const std::string& built, const std::string& name, std::string* error) {
  std::error_code ec;
  const std::string folder = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3");
  std::filesystem::create_directories(folder, ec);
  if (std::filesystem::copy_file(BinDir() + "/" + built, folder + "/" + name,
                                 std::filesystem::copy_options::overwrite_existing, ec))
    return true;
  if (error) *error = ec.message();
  return false;
}

}  // namespace

bool InstallLanguageDll(const std::string& built, std::string* error) {
  return InstallDriverFile(built, "zemsresus.dll", error);
}

bool InstallCommonDll(std::string* error) { return InstallDriverFile("zemsrCsXX.dll", "zemsrCsXX.dll", error); }

}  // namespace zems_test
