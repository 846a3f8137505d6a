// Mouse, keyboard, cursor and clipboard message numbers and codes (user32), as the control
// subclassing, the hint popup and the marks use them.
#pragma once
#include "platform/include/win_base.h"

#define WM_QUIT 0x0012
#define WM_SETCURSOR 0x0020
#define WM_NCHITTEST 0x0084
#define WM_KEYUP 0x0101
#define WM_PASTE 0x0302
#define WM_CAPTURECHANGED 0x0215

#define HTERROR (-2)
#define HTCLIENT 1

#define VK_LBUTTON 0x01
#define VK_BACK 0x08
#define VK_SPACE 0x20
#define VK_UP 0x26
#define VK_DOWN 0x28

#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002

#define EM_GETSEL 0x00B0
#define EM_REPLACESEL 0x00C2
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define LB_GETTOPINDEX 0x018E

#define CF_UNICODETEXT 13
#define IMAGE_CURSOR 2
#define LR_SHARED 0x8000
