// The persisted item store: setting items kept in printer data and the settings ini, each
// encoded by its data type.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct SettingItem;

// Item classes: the area of the item's descriptor; -1 stands for all of them.
enum : int {
  kStoreClassAll = -1,
  kStoreClassDevmode = 1,
  kStoreClassDevice = 2,
  kStoreClassWork = 3,
};

// Load modes.
enum : int {
  kStoreLoadPlain = 0,
  kStoreLoadModuleSelected = 2,
  kStoreLoadFromClient = 16,
};

// Save flags.
enum : DWORD {
  kStoreSaveExtendedOnly = 0x1,
  kStoreSaveModuleSelected = 0x2,
  kStoreSaveCustomFuncs = 0x4,  // only ids 1462-1493
  kStoreSaveForced = 0x80000000,
};

// The block of the module events that offer a row to the UI modules (4: save, 5: load):
// a module that sets reply to 1 keeps the row out of this call.
struct StoreItemOffer {
  DWORD mode;  // 2
  SettingItem* row;
  DWORD reply;
};
// The block of the events after a class load (18: {class, mode}) or save (23: {class, flags}).
struct StoreClassDone {
  DWORD itemClass;
  DWORD modeOrFlags;
};
enum : int {
  kStoreEventSaveOffer = 4,
  kStoreEventLoadOffer = 5,
  kStoreEventLoaded = 18,
  kStoreEventSaved = 23,
};

// ---- loads ----
// Loads the persisted items of one class (or all) into the context. Returns 1 whatever happens
// to single items (a value that cannot be read leaves its item).
int StoreLoadPersistedItems(HANDLE printer, DriverContext* ctx, int itemClass, int mode, void* clientCtx);
int StoreLoadItems(HANDLE printer, DriverContext* ctx, int itemClass, int mode);
// -1: all classes, then the font tables; 1: class 3, then class 1; 2: class 2, then the font
// tables; other classes nothing. Returns 1.
int StoreLoadByClass(HANDLE printer, int itemClass, DriverContext* ctx);
// Loads every persisted item into a newly opened context and takes over acquired settings:
// the form of the printer-interface and exclusion DLLs, which writes them back to printer
// data. Returns 1.
int StoreLoadAtOpen(DriverContext* ctx);
// The graphics DLL's form: the same load, but it writes nothing back.
int StoreLoadAtOpenNoWriteBack(DriverContext* ctx);

// ---- saves (each 1 when every value was written, 0 when any could not be; the rest are
// still written) ----
// itemClass 1, 2 or 3; flags kStoreSave...
int StoreSavePersistedItems(HANDLE printer, DriverContext* ctx, int itemClass, DWORD flags);
// Class 3, then class 1, flags 0.
int StoreSaveUserClasses(HANDLE printer, DriverContext* ctx);
// Class 2 with flags 0, then the font tables that changed.
int StoreSaveDeviceSettings(HANDLE printer, DriverContext* ctx);
// Class 2 with flags 0, then the font tables of the model description.
int StoreSaveDeviceSettingsFromModel(HANDLE printer, DriverContext* ctx);

// ---- single items (1 on success) ----
int StoreReadItemPrinterData(HANDLE printer, DriverContext* ctx, SettingItem* row, int mode, void* clientCtx);
int StoreWriteItemPrinterData(HANDLE printer, DriverContext* ctx, SettingItem* row);
// With sectionText null the ini calls are used; otherwise the item is looked up in that
// in-memory section text from *position on.
int StoreReadItemIni(DriverContext* ctx, SettingItem* row, LPCWSTR path, const char* sectionText, DWORD* position);
// The same from the section of a settings ini read in one pass (null: the file has no such
// section, and the item reads as absent): with storedText the value as the settings-file
// writer stored it (blanks and quotes kept), else as the ini calls answer.
struct IniTableSection;
int StoreReadItemFromTable(DriverContext* ctx, SettingItem* row, LPCWSTR path, const IniTableSection* section,
                           BOOL storedText);
// With buffer null the ini calls are used; otherwise the key is appended to the section being
// built at *position.
struct IniSectionBuffer;
int StoreWriteItemIni(HANDLE printer, DriverContext* ctx, SettingItem* row, LPCWSTR path,
                      IniSectionBuffer* buffer, DWORD* position);
// Writes one item where its class and storage kind say; path null: the settings ini.
int StoreSaveItem(HANDLE printer, DriverContext* ctx, SettingItem* row, LPCWSTR path);
// Packed runs of bit items stored as one value under a name of their own (itemClass 2).
int StoreLoadPackedRun(HANDLE printer, DriverContext* ctx, SettingItem* first, int itemClass, UINT substituteType,
                       LPCWSTR valueName, WORD firstId, WORD lastId);
int StoreSavePackedRun(HANDLE printer, DriverContext* ctx, SettingItem* first, int itemClass, UINT substituteType,
                       LPCWSTR valueName);

// Reads one item from printer data under the value name that equals the item's own name.
// 0 when the row or its name is missing, else the result of the read.
int StoreReadItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row);
// Writes one item to printer data under its own name; 0 when the row or its name is missing,
// else the result of the write.
int StoreWriteItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row);

// ---- printer-data wrappers: 1 on success, 0 when an argument is null or zero ----
// Reads a value of at most size bytes.
int StoreGetPrinterData(HANDLE printer, void* buffer, DWORD size, LPCWSTR valueName);
int StoreSetPrinterDataBinary(HANDLE printer, const void* data, DWORD size, LPCWSTR valueName);
int StoreSetPrinterDataTyped(HANDLE printer, const void* data, DWORD size, DWORD type, LPCWSTR valueName);
int StoreSetPrinterDataString(HANDLE printer, const WCHAR* text, DWORD sizeBytes, LPCWSTR valueName);
