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
  // The button a file dialog's hook pressed for its follow-up (5001 save, 5002 load, 5003
  // delete), 0 for none; cleared before each file dialog.
  LONG fileDialogResult;
};
