// The PJL variable table: maps the variables of "@PJL SET" lines to setting items, their value
// words to setting values, with the coupled settings a value implies and the installed options
// under which a value is offered. The same static data is carried by all three deliverables;
// the settings engine reads it for capability answers and value-list lengths.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

// One term of a condition list (or of a list of coupled settings). Condition lists are read in
// order: terms with flags 0 are joined by OR to the next one, a term with flags 1 ends a
// clause, and the clauses are joined by AND; a term with flags 2 is joined by AND to the next
// one (together they are one alternative of the clause). The table uses 0 and 1.
struct ConditionTerm {
  const ConditionTerm* next;
  DWORD flags;
  DWORD item;   // setting id (or a feature code in option requirements)
  LONG value;
};

// A further "@PJL SET" line written after a value's own line.
struct PjlExtraLine {
  const PjlExtraLine* next;
  const char* value;
  const char* name;
};

struct PjlValueEntry {
  DWORD flags;                        // PjlValueFlags
  LONG value;                         // the setting value
  const char* word;                   // the PJL value word
  const char* aliasName;
  const ConditionTerm* dependents;    // coupled settings: setting := value
  const ConditionTerm* requirement;   // condition list under which the value is allowed
  const PjlExtraLine* extraLines;
};

struct PjlValueList {
  DWORD count;
  const PjlValueEntry* entries;
};

// The value record of the two scale variables: only a requirement; both convert their values
// through their option commands.
struct PjlNumberRecord {
  LONG minimum;
  LONG maximum;
  LONG scale;
  const ConditionTerm* requirement;
};

struct PjlVariable {
  DWORD setting;                      // setting id; rows with 0 are never matched
  DWORD variant;                      // variant of the option command's item descriptor
  DWORD flags;                        // PjlVariableFlags
  DWORD modes;                        // PjlModes
  DWORD type;                         // PjlType
  const char* name;                   // the PJL variable name
  const ConditionTerm* dependencies;
  const void* values;                 // PjlValueList* (flag kPjlFromList) or PjlNumberRecord*
  const ConditionTerm* requirement;   // option requirement in feature codes, or none
};

struct PjlSettingTable {
  DWORD count;
  const PjlVariable* rows;
};

enum PjlValueFlags : DWORD {
  // The default entry (OFF and the like): it matches any value without a word of its own. The
  // same bit marks the value as not offered as a capability: the allowed values leave it out
  // when asked to exclude flagged entries (ItemHasAllowedValue).
  kPjlValueDefault = 0x1,
  // The exclusion service's own two: a further value that writes the same word, and a value
  // that is never offered. The allowed values do not read them.
  kPjlValueAlias = 0x10,
  kPjlValueNeverOffered = 0x100,
};

enum PjlVariableFlags : DWORD {
  kPjlFromList = 0x1,
  kPjlByOptionCommand = 0x2,
  kPjlBindingMapping = 0x800,
  kPjlBookletMapping = 0x1000,
  kPjlMapped = 0x10000,
};

enum PjlModes : DWORD {
  kPjlModeUpdate = 0x1,        // takes part in command bases and updates
  kPjlModeOption = 0x2,        // a printer option
  kPjlModeValue = 0x4,         // a printer value
};

enum PjlType : DWORD {
  kPjlTypeList = 0x1,
  kPjlTypeTwoState = 0x4,
  kPjlTypeNumber = 0x8,
  kPjlTypeText = 0x10,
};

// The setting id that BOOKLET carries; it has no setting item.
constexpr DWORD kPjlBookletSetting = 724;

static_assert(sizeof(ConditionTerm) == 16, "ConditionTerm is 16 bytes");
static_assert(sizeof(PjlValueEntry) == 28, "PjlValueEntry is 28 bytes");
static_assert(sizeof(PjlVariable) == 36, "PjlVariable is 36 bytes");
static_assert(offsetof(PjlVariable, modes) == 12 && offsetof(PjlVariable, name) == 20 &&
                  offsetof(PjlVariable, values) == 28 && offsetof(PjlVariable, requirement) == 32,
              "PjlVariable offsets");
static_assert(offsetof(PjlValueEntry, word) == 8 && offsetof(PjlValueEntry, dependents) == 16 &&
                  offsetof(PjlValueEntry, requirement) == 20,
              "PjlValueEntry offsets");

// The table header {38, rows}.
const PjlSettingTable* TblGetPjlSettingTable();
DWORD TblGetPjlSettingCount();
// The number of entries of a value list of the table; 0 for an address that is no value list
// of the table (null included).
DWORD TblGetPjlValueListLength(const void* list);


// ---- the exclusion service's three small tables ----
// A pair {first, second} of setting ids or values.
struct PjlPair {
  LONG first;
  LONG second;
};
struct PjlPairTable {
  DWORD count;
  const PjlPair* pairs;
};
struct PjlIdTable {
  DWORD count;
  const DWORD* ids;
};
// The settings every command base must hold: APLPAGESIZE, APLPAGELAYOUT, PAPER, TRAY.
const PjlIdTable* TblGetPjlMandatory();
// Settings without a row of their own and the setting whose row writes them: (61, 119).
const PjlPairTable* TblGetPjlCarrierPairs();
// BOOKLET value -> zdmDuplexType base value of its family: (0, 1), (1, 17), (2, 20).
const PjlPairTable* TblGetPjlBindingMap();
