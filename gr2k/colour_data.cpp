// The colour-data file of the job header: which file of the driver folder the spool side applies
// to the job's colour conversion, by model, colour matching, object kind and medium.
#include <stdio.h>
#include <string.h>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/driver_paths.h"
#include "core/tables/model_record.h"
#include "gr2k/job_header.h"

namespace {

// Rows of the models with files of their own; any other model takes the last row.
enum Rule102 : BYTE { kRuleDefault, kRuleH, kRuleHB };
struct ColourModel {
  BYTE code;
  char file[3];
  bool fourVariants;  // kind 101 variants 1-4 (else variant 1 only)
  Rule102 rule;
};
const ColourModel kModels[] = {
    {130, "80", true, kRuleDefault},  {131, "81", true, kRuleDefault},  {137, "82", true, kRuleDefault},
    {139, "83", true, kRuleDefault},  {141, "84", true, kRuleDefault},  {143, "85", false, kRuleH},
    {147, "86", false, kRuleH},       {149, "87", false, kRuleH},       {152, "88", false, kRuleH},
    {156, "8C", false, kRuleH},       {164, "8F", false, kRuleH},       {160, "8E", false, kRuleHB},
    {162, "8D", false, kRuleHB},      {170, "8B", false, kRuleHB},      {172, "90", false, kRuleHB},
    {179, "98", false, kRuleHB},      {188, "96", false, kRuleHB},
};
const ColourModel kOtherModel = {0, "99", true, kRuleDefault};
constexpr BYTE kModelFixedFile = 181;

const ColourModel* ModelRow(BYTE code, bool* own) {
  for (const ColourModel& m : kModels)
    if (m.code == code) {
      *own = true;
      return &m;
    }
  *own = false;
  return &kOtherModel;
}

// Object kinds by command index: 0 text, 1 and 2 line art, any other image.
enum Object { kText, kLine, kImage };
Object ObjectOf(WORD index) { return index == 0 ? kText : index <= 2 ? kLine : kImage; }

LONG Raw(DriverContext* ctx, WORD id) { return LONG(ItemGetRawById(ctx, id)); }

LONG MatchingOf(DriverContext* ctx, Object object) {
  return Raw(ctx, object == kText ? kItem_wdmColorMatchingText
                  : object == kLine ? kItem_wdmColorMatchingLine
                                    : kItem_wdmColorMatchingImage);
}

// The driver folder as ANSI with the file name after it.
void WriteFile(HeaderWalk* w, const ModelItemDescriptor* command, const char* file) {
  char path[MAX_PATH + 16] = {};
  const WCHAR* dir = PathGetDriverDir(w->ctx);
  if (dir && dir[0] && WideCharToMultiByte(CP_ACP, 0, dir, -1, path, MAX_PATH, nullptr, nullptr) <= 0) path[0] = 0;
  path[MAX_PATH - 1] = 0;
  size_t n = strlen(path);
  snprintf(path + n, sizeof path - n, "%s", file);
  JobWriteCommandText(w, command, path);
}

void WriteVariant(HeaderWalk* w, const ModelItemDescriptor* command, const ColourModel* m, char variant) {
  char file[16];
  snprintf(file, sizeof file, "OV%.2sC15%c.vtc", m->file, variant);
  WriteFile(w, command, file);
}

bool InMatchingSet(LONG m) { return m == 1 || m == 128 || m == 130; }

void Kind101(HeaderWalk* w, const ModelItemDescriptor* command, WORD index, const ColourModel* m, bool own) {
  DriverContext* ctx = w->ctx;
  LONG e = Raw(ctx, kItem_zdmColorMatchingMode);
  bool special = Raw(ctx, kItem_zdmMediaType) == 2;
  Object object = ObjectOf(index);
  if (own && (m->code == 130 || m->code == 131)) {
    WriteVariant(w, command, m, e == 1 ? (special ? '3' : '1') : (special ? '4' : '2'));
    return;
  }
  if (Raw(ctx, kItem_zdmAdjustMode) == 1)
    e = MatchingOf(ctx, object);
  else if (object == kImage && (own ? (e != 0 && e != 1) : (e != 0 && e != 131)))
    e = 2;
  if (e == 0 || e == 131) return;
  if (m->fourVariants) {
    WriteVariant(w, command, m, InMatchingSet(e) ? (special ? '3' : '1') : (special ? '4' : '2'));
    return;
  }
  // The models with one file for this command: any other value names no file, and then nothing
  // is written (never the bare driver folder).
  if (InMatchingSet(e)) WriteVariant(w, command, m, '1');
}

void Kind102(HeaderWalk* w, const ModelItemDescriptor* command, WORD index, BYTE model, const ColourModel* m,
             bool own) {
  DriverContext* ctx = w->ctx;
  Object object = ObjectOf(index);
  LONG f = 0;
  WORD code = 114;
  if (Raw(ctx, kItem_zdmAdjustMode) == 1) {
    f = MatchingOf(ctx, object);
    code = WORD(object == kText ? 115 : object == kLine ? 116 : 117);
  } else {
    LONG e = Raw(ctx, kItem_zdmColorMatchingMode);
    if (e < 128 || e > 131)
      f = e;
    else if (index == 3 || e == 129)
      f = 2;
    else if ((index == 1 || index == 2) && (e == 128 || e == 130))
      f = 1;
    else if (index == 0 && (e == 128 || e == 130))
      f = 6;
  }
  if (f == 0) return;
  if (f >= 200 && f <= 215) {
    // The quality module reads the profile the code names into the UI state.
    ModBusNotify(ctx, code);
    char path[MAX_PATH + 1] = {};
    if (ctx->ui && ctx->ui->cmmPath[0]) {
      WCHAR wide[261];
      memcpy(wide, ctx->ui->cmmPath, sizeof wide);
      wide[260] = 0;
      if (WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, nullptr, nullptr) <= 0) path[0] = 0;
    }
    JobWriteCommandText(w, command, path);
    return;
  }
  if (model == kModelFixedFile) {
    WriteFile(w, command, "OV94C050.dat");
    return;
  }
  const ColourModel* row = own && m->rule != kRuleDefault ? m : &kOtherModel;
  char variant = '1';
  if (row->rule == kRuleDefault) {
    variant = f == 2 ? '2' : f == 6 ? '3' : '1';
  } else {
    if (f == 2) variant = '2';
    else if (f == 6) variant = '3';
    else if (f == 32 || (row->rule == kRuleHB && f == 36)) variant = 'H';
    else if (row->rule == kRuleHB && f == 37) variant = 'B';
  }
  WriteVariant(w, command, row, variant);
}

}  // namespace

int SelectColorDataFile(HeaderWalk* w, WORD kind, const ModelItemDescriptor* command, WORD index) {
  if (kind != 101 && kind != 102) return 0;
  if (!w || !w->ctx || Raw(w->ctx, kItem_zdmMachineTypeColor) == 0) return 1;
  const ModelRecord* record = CtxModelRecord(w->ctx);
  BYTE code = record ? record->modelCode : 0;
  bool own = false;
  const ColourModel* m = ModelRow(code, &own);
  // Model 181 has no row: kind 101 follows the other models, kind 102 names its one file.
  if (kind == 101)
    Kind101(w, command, index, m, own);
  else
    Kind102(w, command, index, code, m, own);
  return 1;
}
