// Tokens of judge expressions and of the brace bodies of the other rule statements.
#pragma once
#include "platform/win32.h"

enum RuleTokenKind : int {
  kRuleTokenEnd = 0,
  kRuleTokenNumber,    // digits only
  kRuleTokenName,      // a run of keyword characters that is not all digits
  kRuleTokenBracket,   // ( ) { }
  kRuleTokenOperator,  // a run of = ! & | > <
  kRuleTokenOther,     // any other single character
};

struct RuleToken {
  RuleTokenKind kind;
  const char* text;
  DWORD length;
};

struct RuleScanner {
  const char* p;
  const char* end;
};

// Skips blanks and line ends, then takes the next token.
RuleToken JudgeScanToken(RuleScanner* scanner);
