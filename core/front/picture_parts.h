// The picture layout table: where each picture of the pages is placed and how it is drawn.
#pragma once
#include "platform/win32.h"

// One picture's layout (24 bytes): the second picture drawn with the same placement (0 none),
// the offsets of its anchor, placement flags OR-ed into the drawing flags, its size, its kind
// (3: `colour` is the background colour of its drawing) and that colour.
struct PicturePartRow {
  WORD pictureId;
  WORD basePictureId;
  SHORT x;
  SHORT y;
  DWORD flags;
  SHORT width;
  SHORT height;
  SHORT kind;
  WORD reserved;
  DWORD colour;
};
static_assert(sizeof(PicturePartRow) == 24, "PicturePartRow is 24 bytes");

// The rows, ended by a row whose picture id is 0.
const PicturePartRow* TblGetPictureParts();
// The first row of this picture, or null.
const PicturePartRow* TblFindPicturePart(WORD pictureId);
