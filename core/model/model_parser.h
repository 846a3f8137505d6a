// Model-description parser: runs the statement reader over a model description and builds
// the item descriptors, value records, command groups, font lists and command strings of a
// parse state, which the image builder then lays out in one block.
#pragma once
#include "core/model/model_reader.h"
#include "core/model/model_types.h"
#include "core/model/parse_arena.h"

struct JudgeRecord;    // compiled Judge statements
struct ModelRuleList;  // one Item, Action, Transact, AlertAction or Alert statement
struct ModelRuleEntry;  // one entry of a rule statement (an Exclusive entry among them)
struct ModelRulesState; // bookkeeping of the rules compiler

// Kinds of numbered rules, in the order their references are recognised.
enum : int {
  kModelRuleJudge = 0,
  kModelRuleItem,
  kModelRuleAction,
  kModelRuleTransact,
  kModelRuleAlertAction,
  kModelRuleAlert,
  kModelRuleKinds,
};

// A rule name: "*Judge 12=DuplexOn" registers DuplexOn for Judge 12.
struct ModelRuleName {
  ModelRuleName* next;
  char* name;
  LONG number;
};

struct ModelArenaChunk;
struct ModelParseIndex;

// A statement the parser dropped or cut, kept beside the parse for the model's author: where,
// which statement (its keyword) and why.
struct ModelDiagnostic {
  ModelDiagnostic* next;
  DWORD line;
  char statement[32];
  const char* reason;  // a static text
};
// The most kept: a file of garbage must not make the list grow without bound.
constexpr DWORD kModelMaxDiagnostics = 1000;

struct ModelParseState {
  ModelImageHeader* header;  // the 7,996-byte header block, links as addresses
  char* openName;            // name of the open item (OpenUI word 1 without '*'), or NULL
  WORD openSymbol;
  WORD openVariant;
  int keywordMemo;  // index + 1 of the keyword row that matched last, 0 for none
  CommandStringNode* commandStrings;
  JudgeRecord* judges;
  ModelRuleList* itemRules;
  ModelRuleList* actions;
  ModelRuleList* transacts;
  ModelRuleList* alertActions;
  ModelRuleList* alerts;
  ModelRuleEntry* exclusives;
  // Rule names belong to one parse, so concurrent parses never see each other's names.
  ModelRuleName* ruleNames[kModelRuleKinds];

  // Bookkeeping of this parser.
  UINT codePage;
  ModelItemDescriptor* lastDescriptor;
  ModelItemDescriptor* openDescriptor;  // first descriptor of the open symbol and variant
  ModelItemDescriptor* openBase;        // first descriptor of the open symbol
  CommandStringNode* lastCommandString;
  ModelArenaChunk* arena;  // every record of the parse lives here and is freed with it
  ModelRulesState* rules;  // made by the first rule statement
  DWORD line;              // line of the statement being dispatched (1-based)
  ModelParseIndex* index;  // lookups that keep the parse linear in its input; may be null

  // What was dropped, in file order; never read by the builders.
  ModelDiagnostic* diagnostics;
  ModelDiagnostic* lastDiagnostic;
  DWORD diagnosticCount;  // all of them, also those beyond kModelMaxDiagnostics
  const char* statementKeyword;  // of the statement being dispatched, while it is
};

typedef int (*ModelKeywordHandler)(ModelParseState* state, ModelStatementReader* statement);

struct KeywordHandlerRow {
  const char* keyword;
  ModelKeywordHandler handler;  // 1 used, 0 dropped
};

// 23 rows and an end row {NULL, NULL}.
extern const KeywordHandlerRow ModelKeywordTable[24];

// Parses the data file. NULL when the file cannot be read, memory runs out, or reading ends
// with anything but the end of the data. An item block left open at the end is closed.
ModelParseState* ModelParseFile(LPCWSTR path);
// The same over bytes in memory (codePage 0: the system ANSI code page).
ModelParseState* ModelParseMemory(const void* bytes, DWORD size, UINT codePage);

// 0 statement used, 3 statement dropped.
int ModelDispatchStatement(ModelParseState* state, ModelStatementReader* statement);

// Closes the open item block, as a CloseUI statement does; FALSE when none is open.
BOOL ModelCloseOpenItem(ModelParseState* state);

void ModelFreeParseState(ModelParseState* state);

// Records why the statement being dispatched is dropped or cut (reason: a static text). A
// handler that notes its own reason keeps the dispatch from adding a general one.
void ModelNoteDiagnostic(ModelParseState* state, const char* reason);

// Registers a rule name of one kind (appended; a lookup finds the first registration).
BOOL ModelRegisterRuleName(ModelParseState* state, int kind, const char* name, DWORD length,
                           LONG number);
// The number of the first rule of that kind with this name, or 0.
LONG ModelFindRuleName(const ModelParseState* state, int kind, const char* name, DWORD length);
// A rule reference token: "<Kind><digits>" of the expected kind gives the digits' number, a
// prefix of another kind or NULL gives 0, any other token is a name of the expected kind.
WORD ModelResolveRuleReference(const ModelParseState* state, int kind, const char* token,
                               DWORD length);

// Reference held by a rule entry or command block until the image links it: 0 none (NULL),
// 1-65535 a rule number, kModelRuleUnresolved a token that names no rule of the kind.
constexpr DWORD kModelRuleUnresolved = 0x10000;
DWORD ModelResolveRuleLink(ModelParseState* state, int kind, const char* token, DWORD length);

// The header slot of an item id, or NULL for ids outside the three slot ranges.
ModelItemDescriptor** ModelHeaderSlot(ModelImageHeader* header, WORD itemId);

// Model default of a descriptor: list types the value id at the default index (0 when the list
// is shorter), Boolean and Numeric the record's default, String its default value id, else 0.
LONG ModelDescriptorDefault(const ModelItemDescriptor* descriptor);
// Model default of an item through the slots of a header block, else along its descriptor list.
LONG ModelImageGetItemDefault(const ModelImageHeader* header, WORD itemId);
