// Job DEVMODEs changed through the item catalogue, for zemshost print and the print tests.
#include "host/print_devmode.h"

#include <stdlib.h>

#include "core/context/driver_context.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"

bool HostEditJobDevmode(void*, HANDLE printer, const std::vector<std::pair<std::string, std::string>>& settings,
                        std::vector<BYTE>* dm, std::string* error) {
  DriverContext* ctx = CtxOpenByKind(printer, printer, nullptr, 0);
  if (!ctx || !ctx->settings) {
    CtxRelease(ctx, kReleaseExpired);
    *error = "the printer's settings cannot be opened";
    return false;
  }
  bool ok = true;
  if (!dm->empty() && !DmMergeIntoContextSized(ctx, dm->data(), DWORD(dm->size()), kMergeGate)) {
    *error = "the job DEVMODE does not merge";
    ok = false;
  }
  for (size_t i = 0; ok && i < settings.size(); ++i) {
    const std::string& name = settings[i].first;
    const std::string& value = settings[i].second;
    std::u16string wide(name.begin(), name.end());
    SettingItem* item = ItemFindByName(ctx, reinterpret_cast<const WCHAR*>(wide.c_str()));
    char* end = nullptr;
    long number = strtol(value.c_str(), &end, 0);
    if (!item) {
      *error = "no setting item " + name;
      ok = false;
    } else if (value.empty() || !end || *end) {
      *error = "the value of " + name + " is not a number: " + value;
      ok = false;
    } else if (!ItemSetRaw(ctx, item, number)) {
      *error = "the item " + name + " has no value to set";
      ok = false;
    }
  }
  if (ok) {
    std::vector<BYTE> out(size_t(TblDevmodeSize()), 0);
    if (DmBuildOutputDevmode(ctx->settings, nullptr, out.data(), ctx) != 1) {
      *error = "the job DEVMODE cannot be built";
      ok = false;
    } else {
      const DEVMODEW* header = reinterpret_cast<const DEVMODEW*>(out.data());
      size_t size = size_t(header->dmSize) + header->dmDriverExtra;
      out.resize(size < out.size() ? size : out.size());
      *dm = out;
    }
  }
  CtxRelease(ctx, kReleaseExpired);
  return ok;
}
