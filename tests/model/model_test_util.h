// Helpers of the model-description tests: statements read from text, fixture files.
#pragma once
#include <string>
#include <vector>

#include "core/model/model_parser.h"

namespace model_test {

struct Statement {
  int result;
  std::string keyword, word1, word2, value;
};

// Every statement of the text, up to and including the end-of-data result.
std::vector<Statement> ReadStatements(const std::string& text, UINT codePage = 1252);

// Contents of tests/fixtures/model/<name>, or of a file under the source tree.
std::string Fixture(const std::string& name);
std::string SourceFile(const std::string& relative);

// Parses text; the state is freed by the holder.
struct Parsed {
  ModelParseState* state = nullptr;
  explicit Parsed(const std::string& text, UINT codePage = 1252)
      : state(ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), codePage)) {}
  ~Parsed() { ModelFreeParseState(state); }
  Parsed(const Parsed&) = delete;
  Parsed& operator=(const Parsed&) = delete;
  ModelParseState* operator->() const { return state; }
};

// The first descriptor of an item id along the descriptor list, or null.
const ModelItemDescriptor* FindItem(const ModelParseState* state, WORD itemId, WORD variant = 0);
// Value ids of a descriptor's value list, in order.
std::vector<WORD> ValueIds(const ModelItemDescriptor* d);
std::string Narrow(const WCHAR* text);

}  // namespace model_test
