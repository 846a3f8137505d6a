// Minimal version until the rules compiler (judges, value rules, actions, transacts, alerts and
// the Exclusive list) is built: each rule statement with a nonzero number registers its name,
// so later references by name resolve, and is kept; no rule records are built yet.
#include <string.h>

#include "core/model/model_parser_handlers.h"
#include "core/model/model_parser_scan.h"

namespace {

int OnNumberedRule(ModelParseState* state, ModelStatementReader* s, int kind) {
  LONG number = ModelParseNumber(s->word1.text);
  if (number == 0) return 0;
  const char* equals = strchr(s->word1.text, '=');
  if (equals && equals[1]) {
    ModelRegisterRuleName(state, kind, equals + 1, static_cast<DWORD>(strlen(equals + 1)), number);
  }
  return 1;
}

}  // namespace

int ModelOnJudge(ModelParseState* state, ModelStatementReader* s) {
  return OnNumberedRule(state, s, kModelRuleJudge);
}
int ModelOnItemRules(ModelParseState* state, ModelStatementReader* s) {
  return OnNumberedRule(state, s, kModelRuleItem);
}
int ModelOnAction(ModelParseState* state, ModelStatementReader* s) {
  return OnNumberedRule(state, s, kModelRuleAction);
}
int ModelOnTransact(ModelParseState* state, ModelStatementReader* s) {
  return OnNumberedRule(state, s, kModelRuleTransact);
}
int ModelOnAlertAction(ModelParseState* state, ModelStatementReader* s) {
  return OnNumberedRule(state, s, kModelRuleAlertAction);
}
int ModelOnAlert(ModelParseState* state, ModelStatementReader* s) {
  return OnNumberedRule(state, s, kModelRuleAlert);
}
int ModelOnExclusive(ModelParseState* state, ModelStatementReader* s) {
  return strchr(s->value.text, '{') ? 1 : 0;
}
