#include "model_test_util.h"

#include <fstream>
#include <sstream>

#include "support/machine_fixture.h"

namespace model_test {

std::vector<Statement> ReadStatements(const std::string& text, UINT codePage) {
  std::vector<Statement> out;
  ModelDataReader* data = ModelOpenMemoryReader(text.data(), static_cast<DWORD>(text.size()), codePage);
  ModelStatementReader* s = ModelNewStatementReader();
  // Each call consumes at least one byte or ends, so this bound is never reached in a pass.
  for (size_t guard = 0; data && s && guard <= text.size() + 1; ++guard) {
    int result = ModelReadStatement(s, data);
    out.push_back({result, s->keyword.text, s->word1.text, s->word2.text, s->value.text});
    if (result == kModelReadEnd || result == kModelReadNoMemory) break;
  }
  ModelFreeStatementReader(s);
  ModelCloseDataReader(data);
  return out;
}

std::string SourceFile(const std::string& relative) {
  std::ifstream in(zems_test::SourceDir() + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Fixture(const std::string& name) { return SourceFile("tests/fixtures/model/" + name); }

const ModelItemDescriptor* FindItem(const ModelParseState* state, WORD itemId, WORD variant) {
  for (const ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) {
    if (d->itemId == itemId && d->variant == variant) return d;
  }
  return nullptr;
}

std::vector<WORD> ValueIds(const ModelItemDescriptor* d) {
  std::vector<WORD> ids;
  for (const ListValueRecord* e = d ? static_cast<const ListValueRecord*>(d->values) : nullptr; e; e = e->next)
    ids.push_back(e->valueId);
  return ids;
}

std::string Narrow(const WCHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text < 0x80 ? *text : '?');
  return out;
}

}  // namespace model_test
