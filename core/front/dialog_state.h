// What the dialog engine keeps in a context's UI state. The engine's operations are in
// dialog_engine.h.
#pragma once
#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

struct DlgPageRecord;
struct DlgControlRecord;
struct ModelItemDescriptor;
struct CtlTypeRecord;

// Words of the two extension records binding rewrites: the colour sample's (kind 1: kind, two
// words, six item words) and the watermark picture's (kind 8: kind, fourteen item words).
constexpr int kCtlExtColourWords = 9;
constexpr int kCtlExtWatermarkWords = 15;

// What the drawing of pictures, buttons, lists and marks keeps between calls (the control
// types, the drawing helpers, the image drawing and the subclass procedure share it).
struct DlgDrawState {
  HDC paintDc;              // the DC a WM_PAINT in progress published for the helpers; NULL none
  HDC target;               // the DC an option picture draws into (NULL: the control's own)
  COLORREF background;      // colour of the page behind the pictures
  COLORREF buttonFace;      // COLOR_BTNFACE when the controls were bound
  HBRUSH buttonFaceBrush;   // made at binding, deleted with the context's dialogs
  HBRUSH whiteBrush;
  HBRUSH greyBrush;         // background of a restricted list
  HBRUSH iconListBrush;     // background of the preset icon list
  WORD altCaption;          // caption string id of the button being drawn; 0 none
  WORD reserved;
  LONG colourAdjust[6];     // lightness, contrast, saturation, red, green, blue; 50 = neutral
  LONG adjustedColours;     // 1 when the current picture's colour adjustment changed
  // Buffered drawing: the memory DC and the bitmap it had selected, the stretched image's size.
  LONG buffering;
  HDC memoryDc;
  HGDIOBJ memoryPrevious;
  LONG stretched;
  LONG imageWidth;
  LONG imageHeight;
  HBITMAP preparedBitmap;   // drawn for picture 0, taken by the draw
  // The hint popup: its window, the page timer, the hinted control's id, key and window.
  HWND hintPopup;
  UINT_PTR hintTimer;
  WORD hintControlId;
  WORD hintReserved;
  LONG hintKey;
  HWND hintControl;
  // Cursors: the hand, the pressed hand and the one the hand replaced.
  HCURSOR handCursor;
  HCURSOR pressedHandCursor;
  HCURSOR savedCursor;
  // Control subclassing: 1 while the hand (or the pressed hand) shows in place of savedCursor.
  LONG handShown;
  HWND hintPage;  // the page whose timer 1 waits to show the hint popup
  // Edits: the numeric edit whose text was last accepted, and that text; a refused character
  // puts it back.
  HWND editWindow;
  WCHAR editText[64];
};

struct DlgEngineState {
  WORD firstPage;        // the first page initialised; only it commits at apply; 0 = none
  WORD lastCommand;      // LOWORD(wParam) of the last WM_COMMAND any page saw
  LONG applyFlag;        // 1 while PSN_APPLY runs
  LONG layoutFlag;       // 1 from a page's initialisation until its layout is done
  LONG lockChanged;      // set by the lock module when lock settings changed
  BYTE refreshRunning;   // 1 while a refresh runs (a nested one is dropped)
  BYTE guardActive;      // the follow-up guard: set while guardDescriptor's dialog is open
  BYTE bound;            // 1 once the tables are bound to the context's model description
  BYTE bindingPushed;    // 1 once binding pushed the context's own snapshot level
  const ModelItemDescriptor* guardDescriptor;
  // A numeric edit's change whose alert box comes later (message 32769): the control, the value
  // it had before, whether the commit stored the new one, and the preset number then.
  DlgControlRecord* deferredControl;
  LONG_PTR deferredPrevious;
  LONG deferredSet;
  LONG deferredPreset;
  // The control types this context's pages dispatch to in place of the dialog tables' (null:
  // the tables').
  const CtlTypeRecord* types;
  LONG typeCount;
  // This context's bound copies of the shared extension records (item ids in place of the
  // table's control and symbol words).
  WORD colourSample[kCtlExtColourWords];
  WORD watermarkPicture[kCtlExtWatermarkWords];
  DlgDrawState draw;  // drawing state shared by the control types and the pictures
  // The button a file dialog's hook pressed for its follow-up (5001 save, 5002 load, 5003
  // delete), 0 for none; cleared before each file dialog.
  LONG fileDialogResult;
};
