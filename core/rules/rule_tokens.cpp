// Token scanner shared by judges and rule bodies.
#include "core/rules/rule_tokens.h"

#include "core/model/model_reader.h"

namespace {

bool IsOperatorChar(char c) {
  return c == '=' || c == '!' || c == '&' || c == '|' || c == '>' || c == '<';
}

}  // namespace

RuleToken JudgeScanToken(RuleScanner* s) {
  while (s->p < s->end && ModelCharIs(static_cast<BYTE>(*s->p), kModelCharBlank | kModelCharLineEnd)) ++s->p;
  RuleToken token = {kRuleTokenEnd, s->p, 0};
  if (s->p >= s->end) return token;
  char c = *s->p;
  if (ModelCharIs(static_cast<BYTE>(c), kModelCharKeyword)) {
    bool digits = true;
    while (s->p < s->end && ModelCharIs(static_cast<BYTE>(*s->p), kModelCharKeyword)) {
      digits = digits && ModelCharIs(static_cast<BYTE>(*s->p), kModelCharDigit);
      ++s->p;
    }
    token.kind = digits ? kRuleTokenNumber : kRuleTokenName;
  } else if (c == '(' || c == ')' || c == '{' || c == '}') {
    token.kind = kRuleTokenBracket;
    ++s->p;
  } else if (IsOperatorChar(c)) {
    while (s->p < s->end && IsOperatorChar(*s->p)) ++s->p;
    token.kind = kRuleTokenOperator;
  } else {
    token.kind = kRuleTokenOther;
    ++s->p;
  }
  token.length = static_cast<DWORD>(s->p - token.text);
  return token;
}
