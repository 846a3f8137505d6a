// One-time corrections of stored settings that earlier driver versions left behind: the
// entries of "\\CSR|" printer names in the settings inis and the job-code registry keys, the
// per-user preset and quality files kept in the shared folder on a multi-session host, and the
// per-user settings of the old low-integrity folder. Each records with a marker key that it
// ran: "CSRIniCorrectDone" (section "COMMON"), "TSIniCorrectDone" (the printer's section of the
// per-user settings ini), "LocalLowCorrectDone" (the printer's and the language section of the
// per-user settings ini). The pending housekeeping runs them under the global mutex; the
// printer events run the "\\CSR|" cleanup on their own.
#pragma once
#include "platform/win32.h"

// ---- "\\CSR|" entries ----

// Removes the "\\CSR|" sections of one file: a line that begins with "[\\CSR|" starts a
// removed stretch that ends before the next line beginning with "["; every other byte stays.
// The file is rewritten (through a new file that replaces it when complete) only when something
// was removed. 1 on success (also when nothing was removed), 0 when the file cannot be read or
// rewritten; the old file is then as it was.
int InstScrubCsrSections(LPCWSTR file);
// The scrub of a text in memory: the kept bytes into out (at least length bytes); the number
// kept.
DWORD InstScrubCsrText(const char* text, DWORD length, char* out);

// 2 when the settings ini (per-user or per-machine) exists without "CSRIniCorrectDone"; 0 when
// it has the marker, does not exist or info is null; 1 when the path cannot be built.
int InstCsrCorrectionState(HANDLE printer, const PRINTER_INFO_2* info, int perUser);
// Scrubs the settings ini, then the ".rsr" files of its folder whose names begin with the ini
// name's first four characters. When the ini and every such file were scrubbed (also when no
// file matched) "CSRIniCorrectDone" := "1" with writeMarker, else the key is deleted, so the
// next housekeeping scrubs again. 1 when a path cannot be built or memory runs out, else 0
// (also with a null info, when nothing is done).
int InstCsrCorrectSettingsIni(HANDLE printer, const PRINTER_INFO_2* info, int perUser, int writeMarker);
// With installIni the install ini "ZEMS.ini" of the System directory, else the per-printer
// defaults ini "OV00C170.ini" of the per-machine settings folder. 1 on failure, else 0.
int InstCsrScrubDefaultsIni(HANDLE printer, const PRINTER_INFO_2* info, int installIni);
// Deletes the "\\CSR|" values (the name in the ANSI code page begins with those six bytes) of
// one key, one per enumeration, until an enumeration finds none. A value that cannot be
// deleted ends the key's walk. 1 when the key was opened, 0 when it cannot be.
int InstDeleteCsrValues(LPCWSTR keyPath, HKEY root);
// The job-code keys under HKEY_CURRENT_USER and under HKEY_LOCAL_MACHINE; a key that cannot be
// opened (a user without administrator rights and HKLM) is passed over. The number of keys
// walked.
int InstCsrScrubUserJobCodes();
int InstCsrScrubMachineJobCodes();

// The kinds of the cleanup, by the event that asks for it.
enum : int {
  kInstCleanupInitialize = 0,   // printer initialize: per-machine ini, defaults and install ini, HKLM
  kInstCleanupConnection = 1,   // add connection: both settings inis, HKLM and HKCU
  kInstCleanupUpgrade = 2,      // 2, 3, 4: both settings inis, defaults and install ini, HKLM and HKCU
  kInstCleanupConversion = 3,
  kInstCleanupNoDsName = 4,
};
// The "\\CSR|" cleanup of one kind; info is fetched when null. writeMarker as
// InstCsrCorrectSettingsIni (the printer events pass 0).
void InstCleanupStaleEntries(HANDLE printer, const PRINTER_INFO_2* info, int writeMarker, int kind);
// Kind 4 under the global mutex.
void InstCleanupStaleForPrinter(HANDLE printer, const PRINTER_INFO_2* info);
// 1 on Windows Vista or later when the printer data "printerName" of key "DsSpooler" cannot
// be read, else 0.
int InstDsPrinterNameMissing(HANDLE printer);

// ---- per-user files in the shared folder (multi-session host) ----

// 0 when the per-user settings ini has "TSIniCorrectDone" or info is null; 2 when it has no
// marker but a "Count" key in the printer's section; 3 when it does not exist or has neither;
// 1 when a path cannot be built.
int InstTsCorrectionState(HANDLE printer, const PRINTER_INFO_2* info);
// Moves the preset and quality files that the per-user settings ini lists from the per-machine
// folder to the per-user folder: the file's sections are copied first, then the list entry is
// pointed at the copy. Then the per-user job-merge and preview folders and the marker. 0 done
// (or info null); 3 stopped early (an entry empty, not a path or without its name, a copy that
// failed, the folders not written), the marker unwritten; 1 when a path cannot be built or
// memory runs out.
int InstTsCorrectUserIni(HANDLE printer, const PRINTER_INFO_2* info);

// ---- per-user settings of the old low-integrity folder ----

// Takes the printer's and the language section of the old settings ini (LocalAppDataLow +
// "\_zems"), with the preset, quality, watermark, custom-size and colour-matching sections and
// files they name, into the per-user settings ini and folder, on Windows Vista or later. 1 when
// done, when nothing is to do or when a folder cannot be found (the markers are then written);
// 0 when a path cannot be built or memory runs out.
int InstLocalLowCorrect(HANDLE printer, const PRINTER_INFO_2* info);

// Copies one section of source into section of target through the ini calls, however long it
// is. 1 when copied, 0 when the source has no such section (nothing written) or a write fails
// (*failed := 1 then, when given).
int InstCopyIniSection(LPCWSTR source, LPCWSTR target, LPCWSTR section, int* failed);
// The same under another section name in target.
int InstCopyIniSectionAs(LPCWSTR source, LPCWSTR sourceSection, LPCWSTR target, LPCWSTR targetSection, int* failed);
