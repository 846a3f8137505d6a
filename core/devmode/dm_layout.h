// The DEVMODE of this driver: the public DEVMODEW, then a private part with a fixed header,
// the private items and the environment flags. The layout is an external format (job streams,
// outside programs and stored settings carry it), so every offset here is fixed and checked at
// compile time. One layout serves every system: a 220-byte public part and a 1016-byte private
// part, the settings block's extension area at 1236 and its work area at 6500.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct DriverContext;

// ---- sizes ----
int TblDevmodePublicSize();   // 220
int TblDevmodePrivateSize();  // 1016
int TblDevmodeSize();         // 1236, the DEVMODE area of a settings block
int TblExtAreaSize();         // 5264
int TblSettingsBlockSize();   // 10076
int TblWorkAreaSize();        // 3576, the work area of a settings block
// The field-default hook of the builds that set no DEVMODE field defaults: does nothing.
void DmNoOpFieldDefault();

constexpr UINT kDmPublicSize = 220;
constexpr UINT kDmPrivateSize = 1016;
constexpr UINT kDmSize = kDmPublicSize + kDmPrivateSize;
constexpr UINT kDmExtAreaSize = 5264;
constexpr UINT kDmWorkAreaSize = 3576;
constexpr UINT kDmBlockSize = kDmSize + kDmExtAreaSize + kDmWorkAreaSize;

// Public sizes of the DEVMODEW versions the driver reads a private part behind.
constexpr WORD kDmPublicSize351 = 188;  // dmSpecVersion 0x0320
constexpr WORD kDmPublicSize400 = 212;  // 0x0400
constexpr WORD kDmPublicSize401 = 220;  // 0x0401
// A public part counts only when it reaches through dmFields.
constexpr WORD kDmPublicMinSize = 76;
constexpr bool DmIsKnownPublicSize(DWORD size) {
  return size == kDmPublicSize351 || size == kDmPublicSize400 || size == kDmPublicSize401;
}

// ---- public part (offsets of DEVMODEW) ----
enum : UINT {
  kDmOffSpecVersion = 64,
  kDmOffDriverVersion = 66,
  kDmOffSize = 68,
  kDmOffDriverExtra = 70,
  kDmOffFields = 72,
  kDmOffOrientation = 76,
  kDmOffPaperSize = 78,
  kDmOffColor = 92,
  kDmOffFormName = 102,
};

// ---- private header, from offset 220 ----
#pragma pack(push, 1)
struct PrivateDevmodeHeader {
  char signature[4];        // "ZEMS", never tested
  DWORD jobBinder;          // item 704
  char iniFileName[16];     // item 697, ANSI
  char versionText1[16];    // item 698
  char versionText2[16];    // item 699
  char commonMark[8];       // item 700, "OCOMMON" or empty
  BYTE commonVersion;       // item 701
  BYTE optionRequest[32];   // item 702
  BYTE capabilities[32];    // item 703
  DWORD privateTag;         // the model record's tag ("priv")
  DWORD privateSize;        // 1016
  DWORD layoutVersion;      // major * 100 + minor
  WORD areaOffsets[3];      // DEVMODE, extension and work area in the settings block
  BYTE unused;
};
#pragma pack(pop)

enum : UINT {
  kDmOffPrivate = kDmPublicSize,
  kDmOffSignature = 220,
  kDmOffJobBinder = 224,
  kDmOffIniFileName = 228,
  kDmOffVersionText1 = 244,
  kDmOffVersionText2 = 260,
  kDmOffCommonMark = 276,
  kDmOffCommonVersion = 284,
  kDmOffOptionRequest = 285,
  kDmOffCapabilities = 317,
  kDmOffPrivateTag = 349,
  kDmOffPrivateSize = 353,
  kDmOffLayoutVersion = 357,
  kDmOffAreaOffsets = 361,
  kDmOffMachineId = 368,
  kDmOffNupPostKind = 446,
  kDmOffQualityBits = 576,
  kDmOffMachineTypeBits = 810,
  kDmOffDriverType = 811,
  kDmOffFrontFunc = 852,
  kDmOffHidden2Bits = 896,
  kDmOffSupport2Bits = 1020,
  kDmOffLockPrnMethod = 1178,
  kDmOffEnvFlags = 1218,
};
// Private offsets are counted from the start of the private part in the version checks.
constexpr UINT kDmPrivOffLayoutVersion = kDmOffLayoutVersion - kDmOffPrivate;  // 137
constexpr UINT kDmPrivOffAreaOffsets = kDmOffAreaOffsets - kDmOffPrivate;      // 141

static_assert(sizeof(PrivateDevmodeHeader) == 148, "private header is 148 bytes");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, jobBinder) == kDmOffJobBinder, "job binder");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, iniFileName) == kDmOffIniFileName, "ini name");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, versionText1) == kDmOffVersionText1, "text 1");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, versionText2) == kDmOffVersionText2, "text 2");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, commonMark) == kDmOffCommonMark, "mark");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, commonVersion) == kDmOffCommonVersion, "mark version");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, optionRequest) == kDmOffOptionRequest, "request");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, capabilities) == kDmOffCapabilities, "caps");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, privateTag) == kDmOffPrivateTag, "tag");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, privateSize) == kDmOffPrivateSize, "size");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, layoutVersion) == kDmOffLayoutVersion, "version");
static_assert(kDmOffPrivate + offsetof(PrivateDevmodeHeader, areaOffsets) == kDmOffAreaOffsets, "area words");
static_assert(kDmOffPrivate + sizeof(PrivateDevmodeHeader) == kDmOffMachineId, "items follow the header");
static_assert(kDmOffEnvFlags + 18 == kDmSize, "environment flags end the DEVMODE");
static_assert(kDmSize == 1236 && kDmBlockSize == 10076, "settings block sizes");

// Environment flags: one byte each from offset 1218, items 705-722.
enum DmEnvFlag : UINT {
  kEnvPLInstalled = 0,      // 705
  kEnvCallSrc = 1,          // 706
  kEnvOSKind = 2,           // 707
  kEnvBatchInst = 3,        // 708
  kEnvPrintLog = 4,         // 709
  kEnvBiDirect = 5,         // 710
  kEnvNoPermission = 6,     // 711
  kEnvPresentUIMode = 7,    // 712
  kEnvBidiSupport = 8,      // 713
  kEnvServerClientMode = 9, // 714
  kEnvUserCodeFix = 10,     // 715
  kEnvUserCodeGet = 11,     // 716
  kEnvJBInstalled = 12,     // 717
  kEnvPropertyType = 13,    // 718
  kEnvUserCodeDll = 14,     // 719
  kEnvTSE = 15,             // 720
  kEnvAdmin = 16,           // 721
  kEnvBidiFunc = 17,        // 722
  kEnvFlagCount = 18,
};

// ---- variants of the deliverables (BuildVariant::devmodeSteps) ----
enum : DWORD {
  kDmStepCommonMark = 0x01,        // the private header carries "OCOMMON" and version 5
  kDmStepOptionBlock = 0x02,       // the merge applies the option-request block
  kDmStepRetestCompanions = 0x04,  // the merge tests the companion products again
  kDmStepJobControlFetch = 0x08,   // the merge fetches the job-control properties (flag 4)
  kDmStepLockDataNot9x = 0x10,     // the merge loads lock data only off Windows 9x
  kDmStepEnvCompanions = 0x20,     // the environment defaults ask for the companion products
  kDmStepResetWorkItems = 0x40,    // a taken printer DEVMODE gets model defaults in its work items
  kDmStepKeepLockedDefaults = 0x80,  // model defaults leave locked settings alone
};
DWORD DmVariantSteps();
inline int DmVariantHas(DWORD step) { return (DmVariantSteps() & step) ? 1 : 0; }

// ---- header stamping ----
// Signature, item 704, tag and layout version of the context's model record, private size and
// the three area-offset words.
void DmStampPrivateHeader(BYTE* block, DriverContext* ctx);
// Only the area-offset words (0, 1236, 6500).
void DmStampSizeWords(BYTE* block);
// Items 697-703 of the context's settings: the record's settings-file name and two version
// texts in ANSI (at most 15 bytes, cut at a character boundary, zero-padded), the common mark
// as the deliverable writes it, both 32-byte blocks zeroed.
void DmStampPrivateNames(DriverContext* ctx);

// ---- direct field accessors (no checks, no change marks) ----
DWORD DmGetPrivateTag(const void* dm);
DWORD DmGetPrivateSize(const void* dm);
DWORD DmGetPrivateVersion(const void* dm);
void DmSetCallSrc(void* dm, int v);
int DmGetCallSrc(const void* dm);
void DmSetOSKind(void* dm, int v);
int DmGetOSKind(const void* dm);
void DmSetBatchInst(void* dm, int v);
int DmGetBatchInst(const void* dm);
void DmSetPrintLog(void* dm, int v);
int DmGetPrintLog(const void* dm);
void DmSetBiDirect(void* dm, int v);
int DmGetBiDirect(const void* dm);
void DmSetNoPermission(void* dm, int v);
int DmGetNoPermission(const void* dm);
void DmSetServerClientMode(void* dm, int v);
int DmGetServerClientMode(const void* dm);
void DmSetPropertyType(void* dm, int v);
int DmGetPropertyType(const void* dm);
void DmSetTSE(void* dm, int v);
int DmGetTSE(const void* dm);
void DmSetAdmin(void* dm, int v);
int DmGetAdmin(const void* dm);
void DmSetBidiFunc(void* dm, int v);
int DmGetBidiFunc(const void* dm);
void DmSetFrontFunc(void* dm, int v);
DWORD DmGetFrontFunc(const void* dm);
void DmSetQualityFuncBits(void* dm, int v);
int DmGetQualityFuncBits(const void* dm);
// Takes a 16-bit value: the upper half of the word becomes 0.
void DmSetHidden2FuncBits(void* dm, int v);
DWORD DmGetHidden2FuncBits(const void* dm);
void DmSetSupportJobComplete(void* dm, int v);  // bit 0 := bit 0 of v
void DmSetSupportJobErr(void* dm, int v);       // bit 1 := bit 1 of v
DWORD DmGetSupportFunc2Bits(const void* dm);
void DmSetLockPrnMethod(void* dm, int v);
int DmGetLockPrnMethod(const void* dm);
int DmGetMachineId(const void* dm);
int DmGetMachineTypeBits(const void* dm);
int DmGetDriverType(const void* dm);
int DmGetNupPostKind(const void* dm);
int DmGetColor(const void* dm);  // sign-extended

// Context forms: the DEVMODE at the start of the context's settings block (nothing without one).
void CtxSetPLInstalled(DriverContext* ctx, int v);
void CtxSetCallSrc(DriverContext* ctx, int v);
int CtxGetCallSrc(DriverContext* ctx);
void CtxSetOSKind(DriverContext* ctx, int v);
int CtxGetOSKind(DriverContext* ctx);
// zdmOSKind := 3, the kind the application interface records for Windows 98 and Me.
constexpr int kOSKindWin98 = 3;
void DmSetOsKindWin98(DriverContext* ctx);
void CtxSetBatchInst(DriverContext* ctx, int v);
void CtxSetPrintLog(DriverContext* ctx, int v);
int CtxGetPrintLog(DriverContext* ctx);
void CtxSetBiDirect(DriverContext* ctx, int v);
int CtxGetBiDirect(DriverContext* ctx);
void CtxSetNoPermission(DriverContext* ctx, int v);
int CtxGetNoPermission(DriverContext* ctx);
void CtxSetPresentUIMode(DriverContext* ctx, int v);
int CtxGetPresentUIMode(DriverContext* ctx);
void CtxSetBidiSupport(DriverContext* ctx, int v);
void CtxSetServerClientMode(DriverContext* ctx, int v);
int CtxGetServerClientMode(DriverContext* ctx);
void CtxSetUserCodeFix(DriverContext* ctx, int v);
void CtxSetUserCodeGet(DriverContext* ctx, int v);
int CtxGetUserCodeGet(DriverContext* ctx);
void CtxSetJBInstalled(DriverContext* ctx, int v);
void CtxSetPropertyType(DriverContext* ctx, int v);
int CtxGetPropertyType(DriverContext* ctx);
void CtxSetUserCodeDLL(DriverContext* ctx, int v);
int CtxGetUserCodeDLL(DriverContext* ctx);
void CtxSetTSE(DriverContext* ctx, int v);
int CtxGetTSE(DriverContext* ctx);
void CtxSetAdmin(DriverContext* ctx, int v);
int CtxGetAdmin(DriverContext* ctx);
void CtxSetBidiFunc(DriverContext* ctx, int v);
int CtxGetBidiFunc(DriverContext* ctx);

// ---- environment flags ----
void DmSetUserDefaultModeOff(DriverContext* ctx);
void DmSetUserDefaultModeOn(DriverContext* ctx);
void DmSetOsKindLegacy(DriverContext* ctx);  // writes 1
void DmSetOsKindNt5(DriverContext* ctx);     // writes 2
void DmSetDefaultImportedOff(DriverContext* ctx);
void DmSetDefaultImportedOn(DriverContext* ctx);
void DmSetInstallerUserCodeOff(DriverContext* ctx);
void DmSetInstallerUserCodeOn(DriverContext* ctx);
void DmSetBidiPendingOff(DriverContext* ctx);
void DmSetBidiPendingOn(DriverContext* ctx);
void DmSetNoPermissionOff(DriverContext* ctx);
void DmSetNoPermissionOn(DriverContext* ctx);
void DmSetUiModeChangeOff(DriverContext* ctx);
void DmSetUiModeChangeOn(DriverContext* ctx);
void DmSetBidiEnabledOff(DriverContext* ctx);
void DmSetBidiEnabledOn(DriverContext* ctx);
void DmSetOnServerOff(DriverContext* ctx);
void DmSetOnServerOn(DriverContext* ctx);
void DmSetLogCodeUseOff(DriverContext* ctx);
void DmSetLogCodeUseOn(DriverContext* ctx);
void DmSetUserCodeProviderOff(DriverContext* ctx);
void DmSetUserCodeProviderOn(DriverContext* ctx);
void DmSetBinderInstalledOff(DriverContext* ctx);
void DmSetBinderInstalledOn(DriverContext* ctx);
void DmSetPreviewInstalledOff(DriverContext* ctx);
void DmSetPreviewInstalledOn(DriverContext* ctx);
void DmSetDeviceModeOff(DriverContext* ctx);
void DmSetDeviceModeOn(DriverContext* ctx);
void DmSetUserCodeProvider2Off(DriverContext* ctx);
void DmSetUserCodeProvider2On(DriverContext* ctx);

// The defaults of the environment flags (item 722 is not written).
void DmSetEnvironmentFlags(DriverContext* ctx);
// Flags 712, 713 and 714 from item 36, the printer's attributes and its connection.
void DmRecomputeEnvironmentFlags(DriverContext* ctx);
