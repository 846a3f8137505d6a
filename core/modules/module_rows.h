// The callbacks the deliverables' module tables are made of. Each deliverable names its ten
// rows (ui2k, gr2k and exclude module_rows.cpp); the core's bus calls whichever rows it was
// linked with.
#pragma once
#include "core/context/module_bus.h"

// Callbacks of rows without an answer: 0, the dispatch goes on.
int UiModuleIgnoreNotify(DriverContext* ctx, WORD code, void* data);
int UiModuleIgnoreEvent(DriverContext* ctx, int event, void* argument, void* data);
int UiModuleIgnoreControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                          WPARAM wParam, LPARAM lParam, void* data);

// The printer interface's control callbacks (its dialogs).
int PresetHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int WmHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int QualityHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int FreeSizeHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int ChapterHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int OptHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int TtfHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int SummaryHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int LockHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);
int PrnMethodHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*);

// Presets and watermarks.
int PresetHandleEvent(DriverContext* ctx, int event, void* argument, void* data);
int WmHandleNotify(DriverContext* ctx, WORD code, void* data);
int WmHandleEvent(DriverContext* ctx, int event, void* argument, void* data);

// Print quality and colour profiles: the printer interface's notify, the window-less one of
// the other deliverables, the event callback of all three.
int QualityHandleNotify(DriverContext* ctx, WORD code, void* data);
int QualityHandleNotifyNoWindow(DriverContext* ctx, WORD code, void* data);
int QualityHandleEvent(DriverContext* ctx, int event, void* argument, void* data);

// Custom paper size: the graphics DLL has no event 47 (no dialog engine runs actions there).
int FreeSizeHandleNotify(DriverContext* ctx, WORD code, void* data);
int FreeSizeHandleEvent(DriverContext* ctx, int event, void* argument, void* data);
int FreeSizeHandleEventGraphics(DriverContext* ctx, int event, void* argument, void* data);

// Chapters: the printer interface's event callback keeps snapshot copies and the dialog's
// end; the exclusion DLL re-checks the chapter kind with the trays; the graphics DLL leaves
// the default chapter trays as the job brought them.
int ChapterHandleNotify(DriverContext* ctx, WORD code, void* data);
// The other deliverables' notify: the media-type codes only (no chapter dialog).
int ChapterHandleNotifyMedia(DriverContext* ctx, WORD code, void* data);
int ChapterHandleEvent(DriverContext* ctx, int event, void* argument, void* data);
int ChapterHandleEventExclusion(DriverContext* ctx, int event, void* argument, void* data);
int ChapterHandleEventGraphics(DriverContext* ctx, int event, void* argument, void* data);

// Font substitution: the device-font list's restricted state.
int TtfHandleEvent(DriverContext* ctx, int event, void* argument, void* data);

// Setting locks: the other deliverables answer the lock-data notifications and events 59, 60.
int LockHandleNotify(DriverContext* ctx, WORD code, void* data);
int LockHandleNotifyNoWindow(DriverContext* ctx, WORD code, void* data);
int LockHandleEvent(DriverContext* ctx, int event, void* argument, void* data);
int LockHandleEventNoWindow(DriverContext* ctx, int event, void* argument, void* data);

// Print method: the printer interface, the exclusion DLL and the graphics DLL answer
// different sets of events.
int PrnMethodHandleNotify(DriverContext* ctx, WORD code, void* data);
int PrnMethodHandleNotifyNoWindow(DriverContext* ctx, WORD code, void* data);
int PrnMethodHandleEvent(DriverContext* ctx, int event, void* argument, void* data);
int PrnMethodHandleEventExclusion(DriverContext* ctx, int event, void* argument, void* data);
int PrnMethodHandleEventGraphics(DriverContext* ctx, int event, void* argument, void* data);

// The three deliverables' tables (ui2k, gr2k, exclude module_rows.cpp), named apart so that
// one program can hold all three for comparison.
extern const UiModuleEntry kModuleRowsPrinterInterface[kModuleCount];
extern const UiModuleEntry kModuleRowsGraphics[kModuleCount];
extern const UiModuleEntry kModuleRowsExclusion[kModuleCount];
