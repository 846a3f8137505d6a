// The chapter and colour-profile modules' window-less list operations for the application
// interface.
#include "exclude/api/api_chapter_modules.h"

#include "core/front/dialog_records.h"
#include "core/front/page_lookup.h"
#include "core/context/ui_state.h"
#include "core/modules/cmm_profiles.h"
#include "core/modules/page_list.h"
#include "exclude/api/api_context.h"

namespace {
constexpr WORD kChapterList = 2800;  // the list the dialog deletes from
}

int ApiChapterMerge(ApiContext* api, const WCHAR* entry) {
  return PageListImport(ApiDriverCtx(api), entry) == kPageListOk ? 0 : 1;
}

int ApiChapterDeleteOne(ApiContext* api, LONG index) {
  DriverContext* ctx = ApiDriverCtx(api);
  DlgPageRecord* page = PageFindByName(ctx, "TOV_IDD_DIALOG_CHAPTER");
  bool listed = false;
  for (int i = 0; page && i < page->controlCount; ++i) {
    const DlgControlRecord* control = PageControlAt(page, i);
    if (control && control->controlId == kChapterList) listed = true;
  }
  if (!listed) return 1;
  return ChapterDeleteOne(ctx, index);
}

void ApiChapterDeleteAll(ApiContext* api) { ChapterDeleteAll(ApiDriverCtx(api)); }

int ApiCmmProfileName(ApiContext* api, LONG index, WCHAR* name64) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ctx->ui || !name64) return 0;
  CmmLoadEntry(ctx, index);
  int i = 0;
  for (; i < 63 && ctx->ui->cmmName[i]; ++i) name64[i] = ctx->ui->cmmName[i];
  name64[i] = 0;
  return 1;
}
