// The settings package: the printer's settings, presets, quality lists, watermarks and custom
// sizes exported as a folder of settings files under the per-machine settings folder's "zems"
// folder, with a list file at the place the user chose, so that an installer can hand it to
// other printers as a default pack. Also its removal.
//
// Package folder: <settings folder>\zems\<local time as YYYYMMDDhhmmss><base name of the chosen
// file>. File names follow "Rxxxxxx1.rsb": six base-36 digits of a time count, then the file's
// selector (the main pack "1", preset or quality list i the base-36 digit of i), with the
// extension "rsb" (main pack), "rsd" (preset) or "rsq" (quality list, whose digits are the count
// plus one).
#pragma once
#include "platform/win32.h"

struct DriverContext;

// The base-36 digits of the names.
constexpr int kPackDigits = 6;
// Presets and quality lists a package can name (one selector character each).
constexpr int kPackMaxPresets = 16;
constexpr int kPackMaxQualityLists = 36;

// The time count of a local time: seconds with every month taken as 31 days, from 1970, as an
// unsigned 32-bit value.
DWORD PackTimeCount(const SYSTEMTIME& time);
// The count modulo 36^6 as six base-36 digits (0-9, A-Z, most significant first) and a
// terminating zero into digits (7 characters).
void PackTimeDigits(DWORD count, WCHAR* digits);
// Steps the six digits by one in place, with carry ("Z" wraps to "0") or borrow; a character
// that is no base-36 digit counts as "0".
void PackNameIncrement(WCHAR* digits);
void PackNameDecrement(WCHAR* digits);

// Makes the settings folder (hidden, secured), its "zems" folder and the package folder for the
// chosen file, and places the main pack's path in packagePath (MAX_PATH characters). The chosen
// file's base name is its leaf without the extension (the whole leaf when it has none), cut to
// 260 - 34 - the settings folder's length; no room left fails. 1 when the folders were made.
int PackMakeName(LPCWSTR chosenPath, WCHAR* packagePath, DriverContext* ctx);

// Writes the package whose main pack PackMakeName named: the package header into the chosen
// file, the main pack, the preset files, the quality files (the setting-lock module told before
// and after, when the lock feature is on and a lock bit is set) and the list file (the chosen
// path with the extension "lst"). 1 on success, packagePath then holding the list file's path;
// 0 at the first step that fails (packagePath unchanged, the files written so far left for
// PackRemoveFolder). More than 16 presets or 36 quality lists fail before anything is written.
int PackExport(LPCWSTR chosenPath, WCHAR* packagePath, DriverContext* ctx);

// Removes the package exported for a chosen file: its list file (the path with the extension
// "lst") names the main pack; the files the list names in the main pack's folder are deleted,
// then the folder once empty, then the list file. Nothing is deleted unless that folder is a
// package folder of the settings folder's "zems" folder. 1 unless memory runs out.
int PackDeleteByList(LPCWSTR path, DriverContext* ctx);

// Removes the package of a main pack path made by PackMakeName (after a failed export): the
// files of the package's own names in its folder, then the folder. Confined as
// PackDeleteByList. 1 when the folder is gone afterwards.
int PackRemoveFolder(LPCWSTR packagePath, DriverContext* ctx);
