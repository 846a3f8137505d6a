// DrvStartDoc, DrvStartPage, DrvSendPage and DrvEndDoc behind their common checks.
#include "gr2k/job_sequence.h"

#include <stdio.h>
#include <string.h>

#include "core/common/ini_access.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/devmode/dm_convert.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_state.h"
#include "gr2k/job_header.h"
#include "gr2k/job_strings.h"
#include "gr2k/records.h"
#include "gr2k/spool_binding.h"
#include "gr2k/stream.h"

namespace {

constexpr DWORD kMinDevmodeBlock = 1236;
constexpr WORD kHookItem = 1420;

struct BlockHead {
  DWORD type;
  DWORD cb;
};

LONG Raw(GraphicsPdev* pdev, WORD id) { return LONG(ItemGetRawById(pdev->context, id)); }

BOOL JobBinderFirstPage(const GraphicsPdev* pdev) { return pdev->jobBinderBit && pdev->pageNumber == 1; }

// One block of bytes sent as it is; head and payload both checked.
BOOL SendBlock(GraphicsPdev* pdev, DWORD type, const void* payload, DWORD cb) {
  BlockHead head = {type, cb};
  return GrStreamWrite(&pdev->stream, &head, sizeof head) && (!cb || GrStreamWrite(&pdev->stream, payload, cb));
}

BOOL Offered(GraphicsPdev* pdev, WORD id) {
  const ModelItemDescriptor* desc = ModelFindDescriptor(id, pdev->context);
  return desc && !ModelIsDescriptorDisabled(pdev->context, desc, 0);
}

BOOL SendJobHeader(GraphicsPdev* pdev) {
  if (!JobSendCommandBlock(&pdev->stream, pdev->context, kBlockJobHeader, JobStartCommands)) return FALSE;
  if (pdev->pageNumber == 1 && pdev->jobName && pdev->jobNameLength > 0) {
    char line[256];
    DWORD cb = JobNameLine(pdev->jobName, DWORD(pdev->jobNameLength), PdevCurrentCodePage(), line);
    if (!SendBlock(pdev, kBlockJobHeader, line, cb)) return FALSE;
  }
  if (pdev->pageNumber == 1 && (Offered(pdev, kItem_zdmFunc2SelectJobComplete) || Offered(pdev, kItem_zdmFunc2SelectJobErr))) {
    DWORD value = JobNotificationValue(Raw(pdev, kItem_zdmFunc2SelectJobComplete), Raw(pdev, kItem_zdmFunc2SelectJobErr),
                                       Raw(pdev, kItem_zdmSupportFunc2SelectJobComplete),
                                       Raw(pdev, kItem_zdmSupportFunc2SelectJobErr));
    char line[64];
    int cb = snprintf(line, sizeof line, "@PJL COMMENT NOTIFICATION = \"0x%02lx\" \r\n", (unsigned long)value);
    if (!SendBlock(pdev, kBlockJobHeader, line, DWORD(cb))) return FALSE;
  }
  if (pdev->hookValue) {
    const BYTE* settings = pdev->context->settings;
    if (!settings) return FALSE;
    const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(settings);
    DWORD cb = DWORD(dm->dmSize) + dm->dmDriverExtra;
    if (cb < kMinDevmodeBlock) cb = kMinDevmodeBlock;
    // The block is cut from the settings block: a DEVMODE claiming more would send what lies
    // beyond it.
    if (cb > kSettingsBlockSize) cb = kSettingsBlockSize;
    // The printer receives the output size as the user chose it; the context keeps the
    // adjusted values.
    JobOutputSizeBeforeDevmode(pdev->context);
    BOOL sent = SendBlock(pdev, kBlockDevmode, settings, cb);
    JobOutputSizeAfterDevmode(pdev->context);
    if (!sent) return FALSE;
  }
  return TRUE;
}

// The print method the printer's settings file holds now (0 when it holds none): an application
// may have stored another since the job's settings were made.
LONG StoredPrintMethod(GraphicsPdev* pdev) {
  const SettingItem* row = ItemFind(pdev->context, kItem_zdmPrnMethod);
  const WCHAR* printer = PrnGetPrinterName(pdev->context);
  const WCHAR* file = PathSettingsFile(pdev->context);
  if (!row || !row->persistKey || !printer || !file || !file[0]) return 0;
  return LONG(INT(IniReadInt(printer, row->persistKey, 0, file)));
}

void KeepJobName(GraphicsPdev* pdev, LPWSTR docName) {
  if (pdev->jobName) PdevPoolFree(pdev->pool, pdev->jobName);
  pdev->jobName = nullptr;
  pdev->jobNameLength = 0;
  if (!docName || !docName[0]) return;
  int cb = WideCharToMultiByte(PdevCurrentCodePage(), 0, docName, -1, nullptr, 0, nullptr, nullptr);
  if (cb <= 1 || cb > 0x7FFF) return;
  char* name = static_cast<char*>(PdevPoolAlloc(pdev->pool, DWORD(cb)));
  if (!name) return;
  WideCharToMultiByte(PdevCurrentCodePage(), 0, docName, -1, name, cb, nullptr, nullptr);
  pdev->jobName = name;
  pdev->jobNameLength = SHORT(cb - 1);
}

}  // namespace

BOOL SeqStartDoc(GraphicsPdev* pdev, SURFOBJ*, LPWSTR docName, DWORD jobId) {
  if (jobId) pdev->jobId = jobId;
  DWORD cbDevmode = pdev->devmode ? DWORD(pdev->devmode->dmSize) + pdev->devmode->dmDriverExtra : kDmUnknownLength;
  JobKeepStrings(pdev->context, pdev->devmode, cbDevmode, kMergeImageFormReset | kMergeGate, pdev->printer,
                 pdev->jobId);
  pdev->apiUse = DWORD(Raw(pdev, kItem_zdmAPIUseFlag));
  pdev->hookValue = DWORD(JudgeComputeHookCore(pdev->context, kHookItem));
  if (pdev->apiUse || pdev->hookValue) pdev->reduceImages = 0;
  // Another stored print method: the job's settings are merged again with it in force.
  if (StoredPrintMethod(pdev) != Raw(pdev, kItem_zdmPrnMethod) &&
      !DmMergeIntoContext(pdev->context, nullptr, kMergeImageFormReset | kMergeGate))
    return FALSE;
  BOOL carried = (pdev->flags & kPdevCarriedOver) != 0;
  if (!carried && !GrBindSpoolSide(pdev)) return FALSE;
  pdev->flags |= kPdevDocStarted;
  if (!carried) {
    pdev->pageNumber = 0;
    pdev->flags &= ~DWORD(kPdevPageOpen);
  }
  // A job GDI spooled as a metafile is named by the spooler's record of it.
  BYTE* jobInfo = nullptr;
  if (pdev->emfSpooling && pdev->jobId) {
    DWORD needed = 0;
    GetJobW(pdev->printer, pdev->jobId, 2, nullptr, 0, &needed);
    if (needed >= sizeof(JOB_INFO_2W)) jobInfo = static_cast<BYTE*>(PdevPoolAlloc(pdev->pool, needed));
    if (jobInfo && GetJobW(pdev->printer, pdev->jobId, 2, jobInfo, needed, &needed)) {
      LPWSTR document = reinterpret_cast<JOB_INFO_2W*>(jobInfo)->pDocument;
      if (document && document[0]) docName = document;
    }
  }
  KeepJobName(pdev, docName);
  if (jobInfo) PdevPoolFree(pdev->pool, jobInfo);
  return TRUE;
}

BOOL SeqStartPage(GraphicsPdev* pdev, SURFOBJ*) {
  pdev->pageStartedForBanding = 1;
  if (pdev->flags & kPdevOutputFailed) return FALSE;
  if (pdev->flags & kPdevPageOpen) return TRUE;
  // Told only when a page really opens, so that the spool side's pages pair.
  GrSpoolStartPage(pdev);
  pdev->flags |= kPdevPageOpen;
  pdev->pageNumber++;
  if (pdev->pageNumber == 1 || (pdev->flags & kPdevCarriedOver)) {
    pdev->flags &= ~DWORD(kPdevCarriedOver);
    GrStreamReset(&pdev->stream);
    if (!SendJobHeader(pdev)) return FALSE;
  }
  BOOL binderFirst = JobBinderFirstPage(pdev);
  if (!binderFirst && (!JobSendCommandBlock(&pdev->stream, pdev->context, kBlockPageHeader, JobPageStartCommands) ||
                       !SendBlock(pdev, kBlockPageHeaderEnd, nullptr, 0)))
    return FALSE;
  GrDrawStateNewPage(pdev);
  if (!binderFirst && !GrRecPageStart(&pdev->stream, DWORD(pdev->paper.printableWidthDots),
                                      DWORD(pdev->paper.printableLengthDots), pdev->resolution, pdev->resolution))
    return FALSE;
  return TRUE;
}

BOOL SeqSendPage(GraphicsPdev* pdev, SURFOBJ*) {
  FontGlyphCacheClear(pdev);
  if (!GrSpoolEndPage(pdev)) return FALSE;
  BOOL binderFirst = JobBinderFirstPage(pdev);
  if (!binderFirst && !GrRecPageEnd(&pdev->stream)) return FALSE;
  if (!GrStreamFlush(&pdev->stream)) return FALSE;
  if (!binderFirst && !JobSendCommandBlock(&pdev->stream, pdev->context, kBlockPageEnd, JobPageEndCommands))
    return FALSE;
  if (!(pdev->flags & kPdevPageOpen)) pdev->pageNumber++;
  pdev->flags &= ~DWORD(kPdevPageOpen);
  return TRUE;
}

BOOL SeqEndDoc(GraphicsPdev* pdev, SURFOBJ*, FLONG) {
  GrUnbindSpoolSide(pdev);
  if (pdev->jobName) PdevPoolFree(pdev->pool, pdev->jobName);
  pdev->jobName = nullptr;
  pdev->jobNameLength = 0;
  pdev->flags &= ~DWORD(kPdevDocStarted | kPdevCarriedOver);
  return TRUE;
}
