// The one header through which driver code reaches Windows. With mingw it takes the SDK
// headers and adds our own declarations of what mingw lacks; on Linux every declaration is
// ours and the functions come from the simulated machine (libwinsim).
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winspool.h>
#include <prsht.h>
#include <compstui.h>
#include <winddiui.h>
// The old-style open and save dialogs (WIN32_LEAN_AND_MEAN leaves them out of windows.h).
#include <commdlg.h>
#include "platform/include/mingw_extra.h"
#else
#include "platform/include/win_base.h"
#include "platform/include/win_kernel.h"
#include "platform/include/win_file.h"
#include "platform/include/win_ini.h"
#include "platform/include/win_security.h"
#include "platform/include/win_registry.h"
#include "platform/include/win_spool.h"
#include "platform/include/win_module.h"
#include "platform/include/win_system.h"
#include "platform/include/win_gdi.h"
#include "platform/include/win_user.h"
#include "platform/include/win_paint.h"
#include "platform/include/win_sheets.h"
#include "platform/include/win_commdlg.h"
#include "platform/include/win_shell.h"
#include "platform/include/win_input.h"
#endif
#include "platform/include/win_ddiui.h"

// Access control, processes, environment and user locale (settings folders, program runner).
#ifndef _WIN32
#include "platform/include/win_acl.h"
#include "platform/include/win_process.h"
#endif
