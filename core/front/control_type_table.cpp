// The control types a context dispatches to: the dialog tables' type table, or the one a
// context was given in its place (tests put recording types there).
#include "core/context/ui_state.h"
#include "core/front/control_types.h"
#include "core/front/dialog_engine.h"

const CtlTypeRecord* CtlTypeOf(DriverContext* ctx, WORD type) {
  if (!ctx || !ctx->ui || !ctx->ui->dialog.types) return CtlFindType(type);
  const DlgEngineState& state = ctx->ui->dialog;
  for (LONG i = 0; i < state.typeCount; ++i)
    if (state.types[i].type == type) return &state.types[i];
  return nullptr;
}

void CtlSetTypeTable(DriverContext* ctx, const CtlTypeRecord* rows, LONG count) {
  if (!ctx || !ctx->ui) return;
  ctx->ui->dialog.types = rows;
  ctx->ui->dialog.typeCount = rows ? count : 0;
}
