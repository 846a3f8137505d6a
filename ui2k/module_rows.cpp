// The printer interface's module table: every module with its dialogs.
#include "core/modules/module_rows.h"

const UiModuleEntry kModuleRowsPrinterInterface[kModuleCount] = {
    {0, nullptr, UiModuleIgnoreNotify, PresetHandleControl, PresetHandleEvent},
    {0, nullptr, WmHandleNotify, WmHandleControl, WmHandleEvent},
    {0, nullptr, QualityHandleNotify, QualityHandleControl, QualityHandleEvent},
    {0, nullptr, FreeSizeHandleNotify, FreeSizeHandleControl, FreeSizeHandleEvent},
    {4, nullptr, ChapterHandleNotify, ChapterHandleControl, ChapterHandleEvent},
    {0, nullptr, UiModuleIgnoreNotify, OptHandleControl, UiModuleIgnoreEvent},
    {0, nullptr, UiModuleIgnoreNotify, TtfHandleControl, TtfHandleEvent},
    {0, nullptr, UiModuleIgnoreNotify, SummaryHandleControl, UiModuleIgnoreEvent},
    {0, nullptr, LockHandleNotify, LockHandleControl, LockHandleEvent},
    {0, nullptr, PrnMethodHandleNotify, PrnMethodHandleControl, PrnMethodHandleEvent},
};
