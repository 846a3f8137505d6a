// The picture layout table. Minimal until the pictures are laid out: no picture has a row.
#include "core/front/picture_parts.h"

namespace {
const PicturePartRow kParts[] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
}  // namespace

const PicturePartRow* TblGetPictureParts() { return kParts; }

const PicturePartRow* TblFindPicturePart(WORD pictureId) {
  if (pictureId == 0) return nullptr;
  for (const PicturePartRow* row = kParts; row->pictureId != 0; ++row)
    if (row->pictureId == pictureId) return row;
  return nullptr;
}
