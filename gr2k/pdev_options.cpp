// The job options of a PDEV: the stored values of the items the drawing and output code
// consult, read once from the merged context, and the paper metrics of the job.
#include <string.h>

#include "core/bind/plugin_registry.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/devmode/paper_geometry.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/driver_paths.h"
#include "core/tables/model_record.h"
#include "gr2k/pdev.h"

namespace {

constexpr int kFilterFolderChars = 128;

LONG Raw(GraphicsPdev* pdev, WORD id) { return LONG(ItemGetRawById(pdev->context, id)); }
bool On(GraphicsPdev* pdev, WORD id) { return Raw(pdev, id) != 0; }

// Reduce images holds only when the job needs no enlargement the device cannot do itself.
DWORD ReduceImages(GraphicsPdev* pdev) {
  if (Raw(pdev, kItem_zdmSrcPaperPrnLengthDot) < Raw(pdev, kItem_zdmDstPaperPrnLengthDot)) return 0;
  if (Raw(pdev, kItem_zdmSrcPaperPrnWidthDot) < Raw(pdev, kItem_zdmDstPaperPrnWidthDot)) return 0;
  if (On(pdev, kItem_zdmFuncSelectNup) && Raw(pdev, kItem_zdmNUPPOSTKind) == 9) return 0;
  if (DWORD(Raw(pdev, kItem_zdmScaleH)) > 100 || DWORD(Raw(pdev, kItem_zdmScaleV)) > 100) return 0;
  return (pdev->printMethod == 7 || pdev->printMethod == 5) ? 0 : 1;
}

// The filter plug-ins registered for the driver folder decide filter mode and force RAW.
void LoadFilters(GraphicsPdev* pdev) {
  char folder[kFilterFolderChars + 1] = {};
  WCHAR wide[kFilterFolderChars + 1] = {};
  const WCHAR* dir = PathGetDriverDir(pdev->context);
  if (dir) StrCopyCut(wide, kFilterFolderChars + 1, dir);
  // The registry reader adds its own separator.
  DWORD length = StrWideLength(wide);
  if (length && wide[length - 1] == '\\') wide[length - 1] = 0;
  StrWideToAnsi(folder, wide, int(sizeof folder));
  pdev->filterList = PluginReadRegistry("iZEMSFilter", folder);
  pdev->filterMode = pdev->filterList && pdev->filterList->count ? 1 : 0;
  pdev->forceRaw = 0;
  if (!pdev->filterMode) return;
  for (DWORD i = 0; i < pdev->filterList->count; ++i) {
    const PluginRecord* record = pdev->filterList->records[i];
    if (record && record->forceRaw) pdev->forceRaw = 1;
  }
}

}  // namespace

void PdevPaperMetrics(GraphicsPdev* pdev) {
  PdevPaperMetricsRecord& m = pdev->paper;
  PaperExtents extents = {};
  if (PaperGetCurrentExtents(pdev->context, &extents)) {
    m.paperWidth = extents.width;
    m.paperLength = extents.length;
  }
  m.paperWidthDots = Raw(pdev, kItem_zdmSrcPaperWidthDot);
  m.paperLengthDots = Raw(pdev, kItem_zdmSrcPaperLengthDot);
  m.printableWidthDots = Raw(pdev, kItem_zdmSrcPaperPrnWidthDot);
  m.printableLengthDots = Raw(pdev, kItem_zdmSrcPaperPrnLengthDot);
  if (pdev->resolution) {
    m.printableWidthTenthMm = m.printableWidthDots * 254 / pdev->resolution;
    m.printableLengthTenthMm = m.printableLengthDots * 254 / pdev->resolution;
  }
  m.paperSize = Raw(pdev, kItem_dmPaperSize);
  m.offsetXDots = Raw(pdev, kItem_zdmSrcXOffset);
  m.offsetYDots = Raw(pdev, kItem_zdmSrcYOffset);
}

BOOL PdevLoadOptions(GraphicsPdev* pdev) {
  if (!pdev || !pdev->context) return FALSE;
  pdev->flags = 0;
  pdev->pageNumber = 0;
  pdev->copies = SHORT(Raw(pdev, kItem_dmCopies));
  pdev->rasterMode = SHORT(Raw(pdev, kItem_zdmImagePrint));
  pdev->colourProcess = SHORT(Raw(pdev, kItem_zdmColorProcess));
  pdev->orientationIndex = SHORT(Raw(pdev, kItem_dmOrientation) - 1);
  LONG quality = Raw(pdev, kItem_dmPrintQuality);
  pdev->resolution = WORD(quality ? quality : 600);
  pdev->languageSwitch = SHORT(Raw(pdev, kItem_zdmLanguageID));
  pdev->jobBinderBit = WORD(Raw(pdev, kItem_zdmJobBinder) & 1);
  if (pdev->jobBinderBit) pdev->rasterMode = 0;
  pdev->colourMachine = DWORD(Raw(pdev, kItem_zdmMachineTypeColor));
  pdev->emfSpooling = DWORD(Raw(pdev, kItem_zdmExtOutputEMFSpool));
  pdev->colour = DWORD(Raw(pdev, kItem_dmColor));
  if (!pdev->rasterMode && pdev->colourProcess == 0 && On(pdev, kItem_zdmHidden2Func9)) pdev->colourProcess = 2;
  pdev->printAreaKind = SHORT(Raw(pdev, kItem_zdmExtPrintArea));
  pdev->defaultFontSwitch = On(pdev, kItem_zdmHiddenFunc4);
  pdev->eudcSwitch = On(pdev, kItem_zdmHiddenFunc15) || (Raw(pdev, kItem_zdmFrontFunc) & 0x80) ? 1 : 0;
  pdev->noOutput = On(pdev, kItem_zdmHiddenFunc18);
  pdev->oneBppSurface = SHORT(On(pdev, kItem_zdmHiddenFunc30));
  pdev->noStretchBltRopHook = SHORT(On(pdev, kItem_zdmHiddenFunc5));
  pdev->wideLineSwitch = On(pdev, kItem_zdmHidden2Func11);
  pdev->icmSwitches[0] = BYTE(Raw(pdev, kItem_zdmColorMatching));
  pdev->icmSwitches[1] = BYTE(Raw(pdev, kItem_zdmICMType));
  pdev->textAsBitmap = On(pdev, kItem_zdmQualityFuncTextBitmapSupport) ? On(pdev, kItem_zdmQualityFuncTextBitmap)
                                                                       : On(pdev, kItem_zdmHiddenFunc26);
  pdev->printMethod = DWORD(Raw(pdev, kItem_zdmPrnMethod));
  pdev->printMethod7 = pdev->printMethod == 7;
  pdev->takeOver = On(pdev, kItem_zdmPrnFuncTakeOver);

  PdevPaperMetrics(pdev);
  pdev->reduceImages = ReduceImages(pdev);
  LoadFilters(pdev);

  const ModelRecord* model = CtxModelRecord(pdev->context);
  if (model && model->spoolDllName) StrCopyCut(pdev->spoolDllName, MAX_PATH, model->spoolDllName);
  pdev->stream.pdev = pdev;
  return TRUE;
}
