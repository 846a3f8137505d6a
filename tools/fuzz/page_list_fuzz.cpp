// Fuzz target: any bytes as a page-list text (UTF-16 pairs) read for every chapter kind and
// merged into a chapter array of a small context; the first byte picks the kind, the limit and
// the tray maximum; half the inputs are merged twice, over their own chapters. A crash, a
// sanitizer report, a refused merge that changed the array or a count past the limit is a finding.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/page_list.h"
#include "core/tables/model_record.h"

namespace {

struct Context {
  DriverContext ctx = {};
  UiState ui = {};
  std::vector<BYTE> settings = std::vector<BYTE>(kSettingsBlockSize, 0);
  Context() {
    ctx.items = ItemTableCreate();
    ctx.settings = settings.data();
    ctx.ui = &ui;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Context* c = new Context();
  if (!c->ctx.items || size < 1) return 0;
  DriverContext* ctx = &c->ctx;
  ChapterDeleteAll(ctx);  // every input starts from an empty list
  ItemSetRawById(ctx, kItem_wdmChapterKind, data[0] & 3);
  ItemSetRawById(ctx, kItem_wdmChapterMax, 1 + (data[0] >> 2) % 40);
  ItemSetRawById(ctx, kItem_wdmChapterTrayMax, 1 + (data[0] >> 5));
  ItemSetRawById(ctx, kItem_wdmChapterTray, 2 + (data[0] & 1));
  std::vector<WCHAR> text((size - 1) / 2 + 1, 0);
  for (size_t i = 0; i + 1 < text.size(); ++i) text[i] = static_cast<WCHAR>(data[1 + 2 * i] | (data[2 + 2 * i] << 8));
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return 0;
  std::vector<BYTE> before(reinterpret_cast<BYTE*>(array), reinterpret_cast<BYTE*>(array + records));
  if (PageListImport(ctx, text.data()) != kPageListOk &&
      memcmp(before.data(), ChapterArray(ctx, &records), before.size()) != 0)
    abort();
  if (data[0] & 0x80) PageListImport(ctx, text.data());
  if (ChapterGetCount(ctx) > static_cast<LONG>(ChapterLimit(ctx))) abort();
  return 0;
}
