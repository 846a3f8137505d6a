// Window, dialog and control styles, as Windows defines them. Only #defines: the resource
// compiler reads this file too, for the dialog templates (samples/resources/dialogs/).
#pragma once
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_TABSTOP 0x00010000L
#define WS_GROUP 0x00020000L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_CENTER 0x0800L
#define SS_LEFT 0x0000L
#define SS_ICON 0x0003L
#define WS_BORDER 0x00800000L
#define WS_VSCROLL 0x00200000L
#define BS_PUSHBUTTON 0x0000L
#define BS_AUTOCHECKBOX 0x0003L
#define ES_AUTOHSCROLL 0x0080L
#define CBS_DROPDOWNLIST 0x0003L
#define LBS_NOTIFY 0x0001L
#define BS_DEFPUSHBUTTON 0x0001L
#define SS_BITMAP 0x000EL
#define WS_EX_CONTEXTHELP 0x00000400L
