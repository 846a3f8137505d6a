// The exclusion DLL's module table: no dialogs, so every control callback is the stub and the
// modules answer only what runs without a window.
#include "core/modules/module_rows.h"

const UiModuleEntry kModuleRowsExclusion[kModuleCount] = {
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, WmHandleNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, QualityHandleNotifyNoWindow, UiModuleIgnoreControl, QualityHandleEvent},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, FreeSizeHandleEvent},
    {4, nullptr, ChapterHandleNotifyMedia, UiModuleIgnoreControl, ChapterHandleEventExclusion},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, TtfHandleEvent},
    {0, nullptr, UiModuleIgnoreNotify, UiModuleIgnoreControl, UiModuleIgnoreEvent},
    {0, nullptr, LockHandleNotifyNoWindow, UiModuleIgnoreControl, LockHandleEventNoWindow},
    {0, nullptr, PrnMethodHandleNotifyNoWindow, UiModuleIgnoreControl, PrnMethodHandleEventExclusion},
};
