// Control types, control extensions and item-picture sizes of the dialog tables.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

struct CtlTypeRecord;

// Handlers of a control type; a null slot means the type does not handle that step.
// click: a released click inside a picture, or on the partner a label or picture names.
typedef int (*CtlClickHandler)(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                               WPARAM wParam, LPARAM lParam);
// init: after the modules declined the initialisation, and again at a re-initialising refresh.
typedef void (*CtlInitHandler)(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                               DlgControlRecord* control);
// show: puts the item's value into the control.
typedef void (*CtlShowHandler)(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// command: a WM_COMMAND notification; nonzero when the value changed and was committed.
typedef int (*CtlCommandHandler)(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                                 LPARAM lParam);
// message: any other routed message; nonzero when consumed.
typedef int (*CtlMessageHandler)(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                                 WPARAM wParam, LPARAM lParam);

struct CtlTypeRecord {
  WORD type;
  WORD reserved;
  CtlClickHandler click;
  CtlInitHandler init;
  CtlShowHandler show;
  CtlCommandHandler command;
  CtlMessageHandler message;
  WNDPROC windowProc;  // installed on the control's window at initialisation; null = not subclassed
};
static_assert(sizeof(CtlTypeRecord) == 28, "CtlTypeRecord is 28 bytes");

// Number of rows of the control-type table (one per type code) and row access in table order.
int CtlTypeCount();
const CtlTypeRecord* CtlTypeAt(int index);
// The row of this type code, or null: a type not in the table has no handlers and its controls
// are neither subclassed nor initialised.
const CtlTypeRecord* CtlFindType(WORD type);

// Control extensions: each begins with its kind word.
enum CtlExtKind : WORD {
  kCtlExtColourSample = 1,  // the colour sample picture
  kCtlExtColourRamp = 3,    // value scroll bars drawn over a colour ramp
  kCtlExtPicture = 4,       // owner-drawn combos and edits with a picture
  kCtlExtStepButton = 5,    // auto-repeat step buttons
  kCtlExtTabs = 6,          // tab controls
  kCtlExtPreview = 8,       // the preview picture
  kCtlExtTwoTexts = 9,      // push buttons of two texts (type 24)
};

struct CtlExtRecord {
  WORD kind;
};

// The ramp pictures drawn in the track of a value scroll bar (pictures of the language DLL).
enum CtlRampPicture : WORD {
  kRampPictureGrey = 7110,
  kRampPictureRed = 7111,
  kRampPictureGreen = 7112,
  kRampPictureBlue = 7113,
};

// A value scroll bar over a colour ramp, or a spin bar with its own steps: the steps apply only
// when the picture is given (nonzero).
struct CtlExtRamp {
  WORD kind;      // kCtlExtColourRamp
  WORD lineStep;  // an arrow's step
  WORD pageStep;  // a press in the track
  WORD picture;   // CtlRampPicture, 0 none
};
static_assert(sizeof(CtlExtRamp) == 8, "CtlExtRamp is four words");

// One step of a step button: the control whose value moves and by how much.
struct CtlStep {
  WORD control;
  WORD reserved;
  LONG delta;
};
static_assert(sizeof(CtlStep) == 8, "CtlStep is 8 bytes");

struct CtlExtSteps {
  WORD kind;  // kCtlExtStepButton
  WORD count;
  const CtlStep* steps;
};

// A push button of two texts, one above the other, optionally with a line between them.
struct CtlExtTwoTexts {
  WORD kind;  // kCtlExtTwoTexts
  WORD firstText;
  WORD secondText;
  WORD reserved;
  WORD separator;  // nonzero: a line between the texts
};
static_assert(sizeof(CtlExtTwoTexts) == 10, "CtlExtTwoTexts is 10 bytes");

// The colour sample: two reserved words, then the six items whose values adjust its colours
// (lightness, contrast, saturation, red, green, blue); control ids in the table, 0 for the
// default item, item ids once bound.
struct CtlExtColourSample {
  WORD kind;  // kCtlExtColourSample
  WORD reserved[2];
  WORD items[6];
};
static_assert(sizeof(CtlExtColourSample) == 18, "CtlExtColourSample is 18 bytes");

// The extension the rows' extension column names (0 = none, or an index past the table).
const CtlExtRecord* CtlExtensionAt(int index);
// The control's extension when it is of this kind, else null (also for a null control).
const CtlExtRecord* CtlGetExtension(const DlgControlRecord* control, WORD kind);

// Pixel size of one item picture of an owner-drawn list, combo or icon list.
struct CtlImageSize {
  WORD controlId;
  WORD width;
  WORD height;
};

// The item-picture sizes, ended by a row of control id 0.
const CtlImageSize* TblGetControlImageSizes();
// The first row of the item-picture sizes for this control id, or null.
const CtlImageSize* DlgFindMeasureEntry(WORD controlId);
// Answers an item measure from that row: the width and the height are each written only when
// the row gives them a positive value, so a control without a row, or a row of 0 x 0, leaves
// what the system filled in. TRUE when a row was found.
BOOL DlgApplyMeasureEntry(WORD controlId, UINT* itemWidth, UINT* itemHeight);
