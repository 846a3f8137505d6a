// Lookups of one parse that would otherwise walk lists that grow with the input: the first
// descriptor of a symbol (and of a symbol and variant), the entries and tail of each value
// list, the last paper-geometry record of each paper, and the rule names with the tail of
// each kind's list. Each answer is found, absent or unknown; unknown (the index could not get
// memory for an entry) sends the caller to walk its list as before, so the parse never
// depends on the index for its result, only for its speed.
#pragma once
#include "platform/win32.h"

struct ModelParseIndex;
struct ModelParseState;
struct ModelItemDescriptor;
struct ListValueRecord;
struct PageValueRecord;
struct PaperGeometryRecord;
struct ModelRuleName;

enum ModelIndexAnswer { kIndexAbsent = 0, kIndexFound = 1, kIndexUnknown = -1 };

ModelParseIndex* ModelIndexCreate();
void ModelIndexFree(ModelParseIndex* index);

// A descriptor appended to the descriptor list (its symbol and variant set).
void ModelIndexNoteDescriptor(ModelParseState* state, ModelItemDescriptor* d);
ModelIndexAnswer ModelIndexFirstBySymbol(ModelParseState* state, WORD symbol, ModelItemDescriptor** found);
ModelIndexAnswer ModelIndexFirstBySymbolVariant(ModelParseState* state, WORD symbol, WORD variant,
                                                ModelItemDescriptor** found);

// Value lists, known by their first entry.
ModelIndexAnswer ModelIndexListFind(ModelParseState* state, const void* head, WORD valueId, ListValueRecord** entry,
                                    DWORD* position);
ModelIndexAnswer ModelIndexListTail(ModelParseState* state, const void* head, ListValueRecord** tail, DWORD* count);
// An entry appended at the end of the list whose first entry is head (head itself for the
// first entry).
void ModelIndexNoteListEntry(ModelParseState* state, const void* head, ListValueRecord* entry);

ModelIndexAnswer ModelIndexGeometryTail(ModelParseState* state, const PageValueRecord* paper, PaperGeometryRecord** tail);
void ModelIndexNoteGeometry(ModelParseState* state, const PageValueRecord* paper, PaperGeometryRecord* record);

// Rule names: the first registration of a name wins.
ModelIndexAnswer ModelIndexFindRuleName(const ModelParseState* state, int kind, const char* name, DWORD length,
                                        LONG* number);
ModelIndexAnswer ModelIndexRuleNameTail(ModelParseState* state, int kind, ModelRuleName** tail);
void ModelIndexNoteRuleName(ModelParseState* state, int kind, ModelRuleName* entry, DWORD length);
