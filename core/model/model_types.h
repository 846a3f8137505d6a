// Records of a model description: the item descriptors with their value records, the command
// groups and font lists, and the header block that holds them. While a description is parsed
// every link is an address; the compiled image stores the same records with offsets, so each
// record has the byte layout of the compiled image (32-bit links, packed).
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct ExclusiveRecord;  // rules of one item, built with the rules
struct JudgeCell;        // one cell of a compiled judge expression

// Type words of item descriptors. The two flags are masked off by every reader of the type.
enum : WORD {
  kModelTypePickOne = 0x0001,
  kModelTypePickMany = 0x0002,
  kModelTypeBoolean = 0x0004,
  kModelTypeNumeric = 0x0008,
  kModelTypeString = 0x0010,
  kModelTypePickPage = 0x0101,
  kModelTypePickSlot = 0x0201,
  kModelTypeFontTbl = 0x0401,
  kModelTypeIdentity = 0x1000,
  kModelTypeUnknown = 0x2000,
  kModelTypeFlags = 0x3000,
};

// Shape of an item's value records, from its type word. The parser, the image sizes, the
// builder and the fix-up all take it from here, so none of them can read a record in another
// shape than it was written in. Combined types (PickOne|Boolean) build plain list entries.
enum ModelValueShape : int {
  kModelShapeNone = 0,
  kModelShapeList,       // ListValueRecord entries
  kModelShapePage,       // PageValueRecord entries
  kModelShapeSlot,       // SlotValueRecord entries
  kModelShapeFontTable,  // FontTableValueRecord entries
  kModelShapeBoolean,    // one BooleanValueRecord
  kModelShapeNumeric,    // one NumericValueRecord
  kModelShapeString,     // one StringValueRecord
};

inline ModelValueShape ModelValueShapeOf(WORD type) {
  WORD t = static_cast<WORD>(type & ~kModelTypeFlags);
  if (t & 0x0003) {
    switch (t) {
      case kModelTypePickPage: return kModelShapePage;
      case kModelTypePickSlot: return kModelShapeSlot;
      case kModelTypeFontTbl: return kModelShapeFontTable;
      default: return kModelShapeList;
    }
  }
  switch (t) {
    case kModelTypeBoolean: return kModelShapeBoolean;
    case kModelTypeNumeric: return kModelShapeNumeric;
    case kModelTypeString: return kModelShapeString;
    default: return kModelShapeNone;
  }
}

#pragma pack(push, 1)

struct OptionCommandPair {
  char* first;
  char* second;
};

struct PaperGeometryRecord {
  PaperGeometryRecord* next;
  WORD resolution;
  WORD orientation;
  WORD conditionSymbol;  // symbol id of the condition item, 0 for none
  WORD conditionValue;
  LONG x;  // printable area, in dots at the record's resolution
  LONG y;
  LONG width;
  LONG height;
  LONG pageWidth;
  LONG pageHeight;
};

struct ListValueRecord {
  ListValueRecord* next;
  WORD valueId;
  WORD reserved;
  char* command;
};

struct PageValueRecord {
  PageValueRecord* next;
  WORD valueId;
  WORD reserved;
  char* command;
  LONG width;   // tenths of a millimetre
  LONG length;  // tenths of a millimetre
  PaperGeometryRecord* geometry;
};

struct SlotValueRecord {
  SlotValueRecord* next;
  WORD valueId;
  WORD reserved;
  char* command;
  LONG paperCount;
  WORD* papers;  // paper value ids
};

struct FontTableValueRecord {
  FontTableValueRecord* next;
  WORD valueId;
  WORD reserved;
  char* command;
  LONG pairCount;
  char** faces;        // TrueType face names
  char** deviceFonts;  // device font names, same count
};

struct BooleanValueRecord {
  LONG defaultValue;  // 1 True, 0 False
  char* trueCommand;
  char* falseCommand;
};

struct NumericValueRecord {
  WORD numbers[6];  // stored as read; their meaning belongs to the readers of numeric items
  LONG defaultValue;
  LONG minimum;
  LONG maximum;
};

// Character types and flags of a String item.
enum : WORD {
  kModelCharMultiByte = 1,
  kModelCharAscii = 2,
  kModelCharNumeric = 4,
  kModelCharCapital = 8,
  kModelCharSmall = 16,
  kModelStringPassword = 0x100,
  kModelStringShowCapital = 0x200,
  kModelStringShowSmall = 0x400,
};

struct StringValueRecord {
  WORD defaultValue;  // value id
  WORD maxLength;
  WORD charType;
  WORD flag;
};

struct ModelItemDescriptor {
  ModelItemDescriptor* next;
  WORD symbolId;
  WORD variant;  // 0 base; variant number; Identity: symbol id of the mirrored item
  WORD itemId;
  WORD type;
  WORD defaultValue;  // value id while the block is open, then the index in the value list
  WORD reserved;
  OptionCommandPair* commands;
  ExclusiveRecord* exclusive;
  void* values;  // first value record, or the single record of Boolean/Numeric/String
};

struct FontListEntry {
  LONG id;
  char* name;
};

// Command groups of the job stream.
enum : WORD {
  kCommandNodeItem = 1,
  kCommandNodeString = 2,
  kCommandNodeConditional = 3,
  kCommandNodeFont = 4,
};

struct CommandNode;

struct CommandBlock {
  union {
    DWORD number;            // Judge number while parsing (0 none)
    const JudgeCell* cells;  // in a built image
  } judge;
  CommandNode* thenList;
  CommandNode* elseList;
};

// Head of every command node; a font-commands node is only this.
struct CommandNode {
  CommandNode* next;
  WORD kind;
  WORD symbolId;  // item commands only, else 0
};

struct ItemCommandNode {
  CommandNode head;
  WORD number;  // 0 when absent
  WORD reserved;
};

struct StringCommandNode {
  CommandNode head;
  LONG number;  // command-string number; a built image keeps the text's length here
  char* text;
};

struct ConditionalCommandNode {
  CommandNode head;
  CommandBlock* block;
};

struct CommandStringNode {
  CommandStringNode* next;
  LONG number;
  LONG length;  // text length including its terminator (texts may hold NUL bytes)
  char* text;
};

// Header of a model description. Item ids 1-696, 10001-10434 and 697-1543 each have a slot;
// other ids are found along the descriptor list.
struct ModelImageHeader {
  WCHAR fileVersion[16];
  DWORD totalSize;
  ModelItemDescriptor* descriptors;
  ModelItemDescriptor* slotsLow[696];    // ids 1-696
  ModelItemDescriptor* slotsExt[434];    // ids 10001-10434
  ModelItemDescriptor* slotsHigh[847];   // ids 697-1543
  WCHAR* uiResDllName;
  WCHAR* excDepDllName;
  CommandBlock* jobStart;
  CommandBlock* jobEnd;
  CommandBlock* docReset;
  CommandBlock* pageStart;
  CommandBlock* pageEnd;
  LONG deviceFontCount;
  FontListEntry** deviceFonts;
  LONG cartridgeCount;
  FontListEntry** cartridges;
  ExclusiveRecord* exclusives;
};

#pragma pack(pop)

static_assert(sizeof(OptionCommandPair) == 8, "OptionCommandPair is 8 bytes");
static_assert(sizeof(PaperGeometryRecord) == 36, "PaperGeometryRecord is 36 bytes");
static_assert(sizeof(ListValueRecord) == 12, "ListValueRecord is 12 bytes");
static_assert(sizeof(PageValueRecord) == 24, "PageValueRecord is 24 bytes");
static_assert(sizeof(SlotValueRecord) == 20, "SlotValueRecord is 20 bytes");
static_assert(sizeof(FontTableValueRecord) == 24, "FontTableValueRecord is 24 bytes");
static_assert(sizeof(BooleanValueRecord) == 12, "BooleanValueRecord is 12 bytes");
static_assert(sizeof(NumericValueRecord) == 24, "NumericValueRecord is 24 bytes");
static_assert(sizeof(StringValueRecord) == 8, "StringValueRecord is 8 bytes");
static_assert(sizeof(ModelItemDescriptor) == 28, "ModelItemDescriptor is 28 bytes");
static_assert(sizeof(FontListEntry) == 8, "FontListEntry is 8 bytes");
static_assert(sizeof(CommandBlock) == 12, "CommandBlock is 12 bytes");
static_assert(sizeof(CommandNode) == 8, "font-commands node is 8 bytes");
static_assert(sizeof(ItemCommandNode) == 12, "item-command node is 12 bytes");
static_assert(sizeof(StringCommandNode) == 16, "string node is 16 bytes");
static_assert(sizeof(ConditionalCommandNode) == 12, "conditional node is 12 bytes");
static_assert(sizeof(ModelImageHeader) == 7996, "model header is 7,996 bytes");
static_assert(offsetof(ModelImageHeader, totalSize) == 32, "header: total size");
static_assert(offsetof(ModelImageHeader, descriptors) == 36, "header: descriptor list");
static_assert(offsetof(ModelImageHeader, slotsLow) == 40, "header: slots 1-696");
static_assert(offsetof(ModelImageHeader, slotsExt) == 2824, "header: slots 10001-10434");
static_assert(offsetof(ModelImageHeader, slotsHigh) == 4560, "header: slots 697-1543");
static_assert(offsetof(ModelImageHeader, uiResDllName) == 7948, "header: UI resource DLL");
static_assert(offsetof(ModelImageHeader, jobStart) == 7956, "header: command groups");
static_assert(offsetof(ModelImageHeader, deviceFontCount) == 7976, "header: device fonts");
static_assert(offsetof(ModelImageHeader, exclusives) == 7992, "header: Exclusive list");
