// The compiled model image: the 7,996-byte header (ModelImageHeader) followed by the rules,
// items and command sections, in one block. As built (and as stored in the cache file) every
// link is an offset from the start of the block; rules links are stored as offset x 16 + 1,
// so an odd value marks a link not yet fixed up. The fix-up turns the block in place into the
// addressed form that every reader uses.
#pragma once
#include "core/model/number_index.h"
#include "core/model/model_parser.h"
#include "core/model/model_types.h"

static_assert(sizeof(void*) == 4, "image links are 32-bit: the driver is built for 32-bit only");

// The x 16 + 1 encoding must fit 32 bits.
constexpr DWORD kModelImageMaxSize = 0x10000000;

inline DWORD ModelRuleLink(DWORD offset) { return offset ? offset * 16 + 1 : 0; }

// Appends records inside a block of a computed size; without a block it only measures.
struct ModelImageWriter {
  BYTE* base;   // null while measuring
  DWORD limit;  // size of the block
  DWORD at;     // next free offset
  BOOL failed;  // a write past the limit, or input too deep to lay out
};

// Reserves n zeroed bytes and returns their offset; 0 when they do not fit (failed is set).
DWORD ModelWriterReserve(ModelImageWriter* w, DWORD n);
// Reserves and copies n bytes; 0 for none (n 0 or null data) or when they do not fit.
DWORD ModelWriterPut(ModelImageWriter* w, const void* data, DWORD n);
// The same at the next multiple of 4: records and arrays of links are read through typed
// pointers, so only texts are left unaligned.
DWORD ModelWriterPutAligned(ModelImageWriter* w, const void* data, DWORD n);
// Stores a 32-bit value at an offset inside an earlier reservation (nothing while measuring).
void ModelWriterSetDword(ModelImageWriter* w, DWORD offset, DWORD value);
// The bytes of an earlier reservation, or null while measuring.
BYTE* ModelWriterBytes(ModelImageWriter* w, DWORD offset);

// Links between the sections while the image is built.
struct ModelImageLinks {
  ModelNumberIndex judgeByNumber;      // judge number -> offset of its cells
  ModelNumberIndex exclusiveBySymbol;  // symbol id -> offset of its first ExclusiveRecord
  DWORD alwaysFalse;                   // offset of the judge that is always false, 0 for none
};

// Stored link of a judge reference (kModelRuleUnresolved or a number without a compiled
// judge: the always-false judge; 0: none).
DWORD ModelJudgeLink(const ModelImageLinks* links, DWORD reference);

// The three sections, each written at the writer's offset. The rules section (in the rules
// area) fills the links the other two use and the header's Exclusive link.
void ModelBuildRules(ModelImageWriter* w, ModelParseState* state, ModelImageHeader* header, ModelImageLinks* links);
void ModelBuildItems(ModelImageWriter* w, const ModelParseState* state, ModelImageHeader* header,
                     const ModelImageLinks* links);
void ModelBuildCommands(ModelImageWriter* w, const ModelParseState* state, ModelImageHeader* header,
                        const ModelImageLinks* links);

// Bytes each section needs.
DWORD ModelRulesSize(ModelParseState* state);
DWORD ModelItemsSize(const ModelParseState* state);
DWORD ModelCommandsSize(const ModelParseState* state);

// Lays the parse state out as a new stored image (free with MemFree); the state is left as it
// was. Null when memory cannot be had, the sizes and the records written disagree, or the
// image would exceed 256 MB.
ModelImageHeader* ModelBuildImage(ModelParseState* state);

// Parses the description and builds its stored image; the parse state is freed. Null when
// the file cannot be read or no image can be built.
ModelImageHeader* ModelCompileDescription(LPCWSTR path);
ModelImageHeader* ModelCompileMemory(const void* bytes, DWORD size, UINT codePage);

// Turns a stored image into the addressed form, in place. Only for an image the builder
// made, or one whose stored form was checked.
void ModelFixUpImage(ModelImageHeader* image);
void ModelRelocateItems(ModelImageHeader* image);
void ModelRelocateRules(ModelImageHeader* image);
void ModelRelocateCommands(ModelImageHeader* image);
