// The print-quality module's dialog side: the per-object colour settings (text, line, image or
// all objects) re-bound to their controls, the saved quality lists of the print-quality page,
// the colour-matching choice with the user's profiles and the profile dialogs.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// The objects a colour setting may be adjusted for; kQualityAllObjects is the common item.
enum QualityObject : int {
  kQualityText = 0,
  kQualityLine = 1,
  kQualityImage = 2,
  kQualityAllObjects = 3,
};

// One control of the per-object table: the items it is bound to for each object (index by
// QualityObject). A row whose common item is 0 is the colour sample: its picture takes the
// object's six colour items instead.
struct QualityObjectRow {
  WORD dialog;
  WORD control;
  WORD items[4];  // text, line, image, common
};
const QualityObjectRow* QualityObjectRows(int* count);
// The colour sample's six items (brightness, contrast, saturation, red, green, blue balance)
// for the object.
const WORD* QualitySampleItems(int object);

// Binds every control of the table to its item for the object (the sample picture to the
// object's six items); each bound item is marked changed.
void QualityBindObject(DriverContext* ctx, int object);

// The layout of one line of the saved-quality list: the whole line filled, the picture in a
// square at its left (as wide as the line is high, plus 10), the name in the rest; colours as
// system colour indexes.
struct QualityListLine {
  RECT fill;
  RECT picture;
  RECT text;
  int background;
  int textColour;
  UINT pictureId;
};
QualityListLine QualityListLineLayout(const RECT& line, int index, bool restricted, bool selected);

// The window notify callback's codes beside the window-less ones.
int QualityHandleNotifyDialogs(DriverContext* ctx, WORD code, void* data);
