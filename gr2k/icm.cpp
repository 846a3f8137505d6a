// The colour transforms an application asks the driver for: the destination profile opened
// from memory and a transform made from it, both kept in the PDEV's table until the transform
// is deleted, the PDEV is replaced (the table moves) or disabled (what is left is freed).
#include <string.h>

#include "gr2k/ddi_bodies.h"
#include "platform/mscms.h"

namespace {

void FreeRow(IcmTransformRow* row) {
  if (row->transform) DeleteColorTransform(row->transform);
  if (row->profile) CloseColorProfile(row->profile);
  row->transform = row->profile = nullptr;
}

}  // namespace

HANDLE IcmCreateTransform(GraphicsPdev* pdev, LPLOGCOLORSPACEW colorSpace, PVOID, ULONG, PVOID dest, ULONG cbDest,
                          PVOID, ULONG) {
  IcmTransformRow* free = nullptr;
  for (IcmTransformRow& row : pdev->colourTransforms)
    if (!row.transform && !free) free = &row;
  if (!free) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  PROFILE profile = {PROFILE_MEMBUFFER, dest, cbDest};
  HPROFILE opened = OpenColorProfileW(&profile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (!opened) return nullptr;
  HTRANSFORM transform = CreateColorTransformW(colorSpace, opened, nullptr, BEST_MODE);
  if (!transform) {
    CloseColorProfile(opened);
    return nullptr;
  }
  free->transform = transform;
  free->profile = opened;
  return transform;
}

// Deletes the transform it is given, with its profile; a handle the PDEV did not make is
// refused.
BOOL IcmDeleteTransform(GraphicsPdev* pdev, HANDLE transform) {
  if (transform)
    for (IcmTransformRow& row : pdev->colourTransforms)
      if (row.transform == transform) {
        FreeRow(&row);
        return TRUE;
      }
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

void IcmMoveTransforms(GraphicsPdev* from, GraphicsPdev* to) {
  for (IcmTransformRow& row : to->colourTransforms) FreeRow(&row);
  memcpy(to->colourTransforms, from->colourTransforms, sizeof to->colourTransforms);
  memset(from->colourTransforms, 0, sizeof from->colourTransforms);
}

void IcmFreeTransforms(GraphicsPdev* pdev) {
  for (IcmTransformRow& row : pdev->colourTransforms) FreeRow(&row);
}
