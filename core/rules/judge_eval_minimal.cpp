// Minimal version until the judge evaluator is built: every judge is false and no value has a
// rule of its own, as on a context without an evaluator stack.
#include "core/rules/judge_eval.h"

int JudgeEvaluate(const JudgeCell*, DriverContext*) { return 0; }
const ValueRule* ModelFindValueRule(const ExclusiveRecord*, WORD) { return nullptr; }

