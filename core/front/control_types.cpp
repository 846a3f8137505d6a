// The control-type table the engine dispatches to. The type codes are fixed; the handlers of
// each type join their rows as the control types are built, so for now every slot is empty: a
// control is bound and refreshed, but no type handler draws, fills or takes its value.
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"

namespace {

#define ZEMS_TYPE(code) {code, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}
const CtlTypeRecord kControlTypes[] = {
    ZEMS_TYPE(1),  ZEMS_TYPE(2),  ZEMS_TYPE(3),  ZEMS_TYPE(4),  ZEMS_TYPE(5),   ZEMS_TYPE(6),   ZEMS_TYPE(21),
    ZEMS_TYPE(24), ZEMS_TYPE(22), ZEMS_TYPE(41), ZEMS_TYPE(42), ZEMS_TYPE(43),  ZEMS_TYPE(44),  ZEMS_TYPE(45),
    ZEMS_TYPE(46), ZEMS_TYPE(47), ZEMS_TYPE(48), ZEMS_TYPE(49), ZEMS_TYPE(50),  ZEMS_TYPE(61),  ZEMS_TYPE(62),
    ZEMS_TYPE(63), ZEMS_TYPE(23), ZEMS_TYPE(81), ZEMS_TYPE(64), ZEMS_TYPE(65),  ZEMS_TYPE(83),  ZEMS_TYPE(101),
    ZEMS_TYPE(102), ZEMS_TYPE(82), ZEMS_TYPE(84), ZEMS_TYPE(85), ZEMS_TYPE(104), ZEMS_TYPE(105),
};
#undef ZEMS_TYPE
static_assert(sizeof(kControlTypes) / sizeof(kControlTypes[0]) == 34, "34 control types");

}  // namespace

const CtlTypeRecord* CtlFindType(DriverContext* ctx, WORD type) {
  const CtlTypeRecord* rows = kControlTypes;
  LONG count = sizeof(kControlTypes) / sizeof(kControlTypes[0]);
  if (ctx && ctx->ui && ctx->ui->dialog.types) {
    rows = ctx->ui->dialog.types;
    count = ctx->ui->dialog.typeCount;
  }
  for (LONG i = 0; i < count; ++i)
    if (rows[i].type == type) return &rows[i];
  return nullptr;
}

void CtlSetTypeTable(DriverContext* ctx, const CtlTypeRecord* rows, LONG count) {
  if (!ctx || !ctx->ui) return;
  ctx->ui->dialog.types = rows;
  ctx->ui->dialog.typeCount = rows ? count : 0;
}
