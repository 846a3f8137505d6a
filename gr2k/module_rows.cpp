// The graphics DLL's module table: no dialogs and no dialog engine, so every control callback
// is the stub and the modules answer only what a job's settings need.
#include "core/modules/module_rows.h"

const UiModuleEntry kModuleRowsGraphics[kModuleCount] = {
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, WmHandleNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, QualityHandleNotifyNoWindow, UiModuleIgnoreControl, QualityHandleEvent},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, FreeSizeHandleEventGraphics},
    {4, nullptr, ChapterHandleNotifyMedia, UiModuleIgnoreControl, ChapterHandleEventGraphics},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, TtfHandleEvent},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, LockHandleNotifyNoWindow, UiModuleIgnoreControl, LockHandleEventNoWindow},
    {0, nullptr, PrnMethodHandleNotifyNoWindow, UiModuleIgnoreControl, PrnMethodHandleEventGraphics},
};
