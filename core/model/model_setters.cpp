#include "core/model/model_setters.h"

#include <string.h>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"

void ModelSetOneStepOptionNum(WORD optionItem, LONG code, DWORD* state, DriverContext* ctx) {
  if (optionItem != kItem_zdmSourceOptionType1Step || !state) return;
  DWORD value;
  if ((code == 105 || code == 30) && *state == 0)
    value = 1;
  else if (code == 106 && (*state == 0 || *state == 1))
    value = 2;
  else
    return;
  ItemSetRawById(ctx, kItem_zdm1StepOptionNum, value);
  *state = value;
}

void ModelSetBalanceMacroByResolution(LONG resolution, DriverContext* ctx) {
  if (ItemGetRawById(ctx, kItem_zdmUseUserMacro)) return;
  const bool standard = resolution == 200 || resolution == 300 || resolution == 400 || resolution == 600;
  ItemSetRawById(ctx, kItem_zdmBalanceMacro, standard ? 17 : 18);
}

void ModelSetDriverCodeString(DriverContext* ctx) {
  SettingItem* item = ItemFind(ctx, kItem_zdmOther);
  if (!item) return;
  const char* code = ItemGetRawById(ctx, kItem_zdmDriverType) == 0 ? "A203050207d014" : "A202050207d014";
  char buffer[64] = {};
  const size_t size = ItemDescSize(item->descriptor);
  if (size == 0 || size > sizeof(buffer)) return;
  strncpy(buffer, code, size - 1);
  ItemSetRaw(ctx, item, reinterpret_cast<LONG_PTR>(buffer));
}

LONG ItemGetCustomFunc(DriverContext* ctx, WORD id) {
  if (id < kItem_wdmCustomFunc0 || id > kItem_wdmCustomFunc31) return 0;
  return static_cast<LONG>(ItemGetRawById(ctx, id));
}

BOOL ItemSetGuarded(int kind, WORD id, LONG value, DriverContext* ctx) {
  (void)kind;
  return ItemSetRawById(ctx, id, value);
}
