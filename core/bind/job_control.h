// The job-control interface: the outside job-control DLL keeps per printer the job identity
// values (user code, owner, passwords, authentication texts) and the driver's identity. This
// binds it at run time and moves those values between the DLL and the items of a context,
// through one dispatcher driven by a command code and a property mask; it also keeps the same
// items in printer data.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct DriverContext;

// ---- the DLL's binary interface ----

// The operation table of the DLL: 4-byte entry points, slot n at byte 4n. Slot 9 is not called;
// slot 10 (interface versions 0x103 and later) is the graphics DLL's get for a job's user.
struct JcOps {
  DWORD(WINAPI* printerCall)(LPCWSTR printer);                               // 0
  DWORD(WINAPI* printerCall2)(LPCWSTR printer);                              // 1
  DWORD(WINAPI* openSession)(LPCWSTR printer, DWORD* session);               // 2
  DWORD(WINAPI* closeSession)(DWORD session);                                // 3
  DWORD(WINAPI* attributes)(DWORD session, DWORD property, DWORD* attributes);  // 4
  DWORD(WINAPI* getProperty)(DWORD session, DWORD property, DWORD kind, void* buffer, DWORD size,
                             DWORD* needed);                                 // 5
  DWORD(WINAPI* setProperty)(DWORD session, DWORD property, DWORD kind, const void* data,
                             DWORD size);                                    // 6
  DWORD(WINAPI* deleteProperty)(DWORD session, DWORD property);              // 7
  DWORD(WINAPI* setInformation)(DWORD session, DWORD code, const void* block);  // 8
  void* slot9;
  DWORD(WINAPI* getPropertyForUser)(DWORD session, DWORD property, DWORD kind, LPCWSTR user, void* buffer,
                                    DWORD size, DWORD* needed);              // 10
  DWORD(WINAPI* mode)(DWORD session, DWORD first, DWORD second);             // 11
  DWORD(WINAPI* getInformation)(DWORD session, DWORD code, DWORD one, DWORD four, void* buffer,
                                DWORD size, DWORD* needed);                  // 12
};
static_assert(sizeof(void*) != 4 || sizeof(JcOps) == 13 * 4, "13 slots of 4 bytes");
static_assert(sizeof(void*) != 4 || offsetof(JcOps, openSession) == 0x08, "slot 2");
static_assert(sizeof(void*) != 4 || offsetof(JcOps, getProperty) == 0x14, "slot 5");
static_assert(sizeof(void*) != 4 || offsetof(JcOps, getPropertyForUser) == 0x28, "slot 10");
static_assert(sizeof(void*) != 4 || offsetof(JcOps, mode) == 0x2C, "slot 11");
static_assert(sizeof(void*) != 4 || offsetof(JcOps, getInformation) == 0x30, "slot 12");

// The transformation interface (version 0x181): open in a mode, close, set a parameter, and
// transform a text (measuring with a null output).
struct JcTransformOps {
  DWORD(WINAPI* open)(DWORD mode, DWORD* handle);                                            // 0x00
  DWORD(WINAPI* close)(DWORD handle);                                                        // 0x04
  DWORD(WINAPI* setParameter)(DWORD handle, DWORD parameter, const void* data, DWORD size);  // 0x08
  DWORD(WINAPI* transform)(DWORD handle, const char* input, DWORD length, char* output, DWORD size,
                           DWORD* written);                                                  // 0x0C
};
static_assert(sizeof(void*) != 4 || sizeof(JcTransformOps) == 16, "4 slots of 4 bytes");
constexpr DWORD kJcTransformInterface = 0x181;

typedef DWORD(WINAPI* JcGetInterfaceProc)(DWORD version, JcOps** ops);
typedef DWORD(WINAPI* JcDisposeInterfaceProc)(JcOps* ops);

// The binding of one context, kept in its UI state and zeroed at every open.
struct JcBlock {
  HMODULE module;                      // null when not loaded
  DWORD session;                       // 0 when no session is open
  JcGetInterfaceProc getInterface;
  JcDisposeInterfaceProc disposeInterface;
  JcOps* ops;
  WORD version;                        // the interface version the DLL accepted
};

// Value kinds of the get and set slots.
constexpr DWORD kJcKindText = 1;
constexpr DWORD kJcKindU32 = 4;
// The answer for a property that is not handled.
constexpr DWORD kJcNotHandled = 0x20000001;
// Attribute bit 0: the DLL holds a value for the property.
constexpr DWORD kJcHasValue = 0x1;
// The largest value a size query may claim; a larger claim is refused.
constexpr DWORD kJcMaxValueBytes = 64 * 1024;

// One row of the property map: property number and mask bit.
struct JcPropertyMap {
  DWORD property;
  DWORD maskBit;
};
constexpr int kJcPropertyCount = 14;
extern const JcPropertyMap kJcPropertyMap[kJcPropertyCount];

// Masks the callers pass.
constexpr DWORD kJcMaskJobItems = 0x389E;
constexpr DWORD kJcMaskJobItemsWithUserCode = 0x389F;
constexpr DWORD kJcMaskJobItemsNoAuth = 0x009E;
constexpr DWORD kJcMaskJobItemsNoNetworkKey = 0x189E;
constexpr DWORD kJcMaskDriverIdentity = 0x0700;
constexpr DWORD kJcMaskUserCode = 0x0001;

// Commands of the dispatcher: the high half says how the DLL is held (1 open and keep, 2 close,
// 3 load, work and unload; 0 work inside an open session).
enum : DWORD {
  kJcCmdFetch = 0x00100,
  kJcCmdPushOpen = 0x00200,
  kJcCmdClearAndPush = 0x00400,
  kJcCmdOpen = 0x10004,
  kJcCmdOpenFetchAll = 0x10010,
  kJcCmdClose = 0x20008,
  kJcCmdClose2 = 0x20020,
  kJcCmdPrinterCall = 0x30001,
  kJcCmdPrinterCall2 = 0x30002,
  kJcCmdFetchOnce = 0x30040,
  kJcCmdPushOnce = 0x30080,
};

// ---- the dispatcher and its entry points ----

// Runs a command for the context's printer; any other command does nothing and returns 0.
// The result is the load, open or slot result the command describes.
DWORD JcCommand(DriverContext* ctx, DWORD command, DWORD mask);
DWORD JcFetchProperties(DriverContext* ctx, DWORD mask);
DWORD JcPushOpen(DriverContext* ctx, DWORD mask);
DWORD JcClearAndPush(DriverContext* ctx, DWORD mask);
DWORD JcOpen(DriverContext* ctx);
DWORD JcClose(DriverContext* ctx);
DWORD JcRunPrinterCommand(DriverContext* ctx);
DWORD JcFetchPropertiesOnce(DriverContext* ctx, DWORD mask);
DWORD JcPushProperties(DriverContext* ctx, DWORD mask);

// The names the rest of the driver calls; each forwards unchanged.
DWORD JcRunPrinterCommandUi(DriverContext* ctx);
DWORD JcOpenUi(DriverContext* ctx);
DWORD JcCloseUi(DriverContext* ctx);
DWORD JcFetchPropertiesUi(DriverContext* ctx, DWORD mask);
DWORD JcPushOpenUi(DriverContext* ctx, DWORD mask);
DWORD JcClearAndPushUi(DriverContext* ctx, DWORD mask);
DWORD JcFetchPropertiesOnceUi(DriverContext* ctx, DWORD mask);
DWORD JcPushPropertiesUi(DriverContext* ctx, DWORD mask);
DWORD JcSendLanguageUi(DriverContext* ctx);
DWORD JcClearJobItemsUi(DriverContext* ctx, DWORD mask);

// ---- the binding ----

// Loads the DLL into the block (by the system's search order) and agrees on an interface
// version. 0, or the error code; on failure the block is unloaded again.
DWORD JcLoadInterface(JcBlock* block, DriverContext* ctx);
// Disposes of the operation table and frees the DLL. Leaves the session field alone. 0.
DWORD JcUnloadInterface(JcBlock* block, DriverContext* ctx);
// 0 when a session is open afterwards (also when one was open already), else the open result.
DWORD JcOpenSession(DriverContext* ctx);
// The close result; 0 without a session. The session field is cleared.
DWORD JcCloseSession(DriverContext* ctx);
// Fetches one property into its item, pushes one item to the DLL (command kJcCmdClearAndPush
// clears it first). 0 without a session; kJcNotHandled for a property without an item.
DWORD JcFetchProperty(DriverContext* ctx, DWORD property);
DWORD JcPushProperty(DriverContext* ctx, DWORD property, DWORD command);
// Deletes one property in the session; 0 without a session.
DWORD JcDeleteProperty(DriverContext* ctx, DWORD property);
// Sends the display language (information block of 8 bytes) with the code; 0 without a session.
DWORD JcSendLanguage(DriverContext* ctx, DWORD code);

// The job items of the mask in printer data (rows 256-258 skipped): read, written, or cleared
// in the context (texts emptied, zdmTelLine 0). Each returns 0.
DWORD JcLoadJobItems(DriverContext* ctx, DWORD mask);
DWORD JcSaveJobItems(DriverContext* ctx, DWORD mask);
DWORD JcClearJobItems(DriverContext* ctx, DWORD mask);

// 1 when a session is, or can be, opened for the printer, else 0.
int JcOpenSessionChecked(DriverContext* ctx);
// The first job-control set-up for a printer: the printer call and the user code when no
// session can be opened, then the driver identity.
void JcInitForPrinter(DriverContext* ctx);
// Hands the server's user code to the DLL when it applies. Returns 1.
int JcPrepareUserCode(DriverContext* ctx);

// Calls on a table and session the caller holds itself.
DWORD JcInfoFlags(JcOps* ops, DWORD session);
DWORD JcSetMode(JcOps* ops, DWORD session, DWORD first, DWORD second);
DWORD JcGetInfo(JcOps* ops, DWORD session, DWORD code, DWORD* buffer);

// PRINTER_INFO of that level in a zeroed allocation (free with MemFree), or null.
void* JcGetPrinterAlloc(HANDLE printer, DWORD level);
