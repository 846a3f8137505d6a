// Keyword handlers of the model-description parser, one file per concern: items and values
// (model_parser_items.cpp), command groups, command strings and fonts
// (model_parser_commands.cpp), the header texts (model_parser.cpp) and the rules.
// Each returns 1 when the statement was used, 0 when it is dropped.
#pragma once
#include "core/model/model_parser.h"
#include "core/model/model_parser_scan.h"

int ModelOnFileVersion(ModelParseState* state, ModelStatementReader* s);
int ModelOnUiResDllName(ModelParseState* state, ModelStatementReader* s);
int ModelOnExcDepDllName(ModelParseState* state, ModelStatementReader* s);

int ModelOnOpenUi(ModelParseState* state, ModelStatementReader* s);
int ModelOnCloseUi(ModelParseState* state, ModelStatementReader* s);
int ModelOnNumericValue(ModelParseState* state, ModelStatementReader* s);
int ModelOnStringValue(ModelParseState* state, ModelStatementReader* s);
int ModelOnPageValue(ModelParseState* state, ModelStatementReader* s);
int ModelOnPageMmValue(ModelParseState* state, ModelStatementReader* s);
int ModelOnSlotPaper(ModelParseState* state, ModelStatementReader* s);
int ModelOnOptionCommand(ModelParseState* state, ModelStatementReader* s);
int ModelOnTtfs(ModelParseState* state, ModelStatementReader* s);
// Statements of the open item: its option entries and its Default.
void ModelOnOptionEntry(ModelParseState* state, ModelStatementReader* s);
void ModelOnDefault(ModelParseState* state, ModelStatementReader* s);

int ModelOnCommandGroup(ModelParseState* state, ModelStatementReader* s);
int ModelOnDeviceFonts(ModelParseState* state, ModelStatementReader* s);
int ModelOnFontCartridge(ModelParseState* state, ModelStatementReader* s);
int ModelOnCommandString(ModelParseState* state, ModelStatementReader* s);

int ModelOnJudge(ModelParseState* state, ModelStatementReader* s);
int ModelOnItemRules(ModelParseState* state, ModelStatementReader* s);
int ModelOnAction(ModelParseState* state, ModelStatementReader* s);
int ModelOnTransact(ModelParseState* state, ModelStatementReader* s);
int ModelOnAlertAction(ModelParseState* state, ModelStatementReader* s);
int ModelOnAlert(ModelParseState* state, ModelStatementReader* s);
int ModelOnExclusive(ModelParseState* state, ModelStatementReader* s);

// Cursor over a statement's value.
ModelCursor ModelValueCursor(const ModelParseState* state, const ModelStatementReader* s);
