// The checked reader of DIALOGEX templates (RT_DIALOG resources), from which the window fake
// makes its dialogs. Internal to the machine; the fuzz target reads through it too.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/win32.h"

namespace winsim {

struct DialogItemTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  std::u16string className;  // a predefined class atom is given its name ("Button", ...)
  std::u16string text;       // an ordinal title (an icon's resource) reads as empty text
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::u16string className;  // empty: the dialog class
  std::u16string title;
  WORD pointSize = 0;
  std::u16string typeface;
  std::vector<DialogItemTemplate> items;
};

// Reads a DIALOGEX template of `size` bytes. False when it is no DIALOGEX (the old DLGTEMPLATE
// form is not read), holds more than kMaxDialogItems controls, or any text or item runs past
// the end (texts are bounded by the bytes given, never by a terminator alone).
constexpr int kMaxDialogItems = 512;
bool ReadDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate* out);

// An item of a MENU template (RT_MENU): a command, or a popup with its own items.
struct MenuItemTemplate {
  WORD flags = 0;  // MF_GRAYED 0x1, MF_POPUP 0x10, ... (MF_END dropped)
  WORD id = 0;     // a popup's is 0
  std::u16string text;
  std::vector<MenuItemTemplate> items;
};
// Reads a MENU template (the standard form, version 0) of `size` bytes into its top-level
// items. False when it is no such template, nests deeper than kMaxMenuDepth, holds more than
// kMaxMenuItems items in all, or a level or a text runs past the end.
constexpr int kMaxMenuDepth = 8, kMaxMenuItems = 512;
bool ReadMenuTemplate(const uint8_t* bytes, size_t size, std::vector<MenuItemTemplate>* out);

}  // namespace winsim
