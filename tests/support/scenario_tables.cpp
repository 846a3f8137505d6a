// Reading the scenario tables.
#include "support/scenario_tables.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zems_test {

std::vector<TableCase> ReadScenarioTables(const std::string& folder, WordsBeforeText wordsBeforeText) {
  std::vector<TableCase> cases;
  std::error_code ec;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.path().extension() == ".scn") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
      if (!text.empty() && text.back() == '\r') text.pop_back();
      if (text.empty() || text[0] == '#') continue;
      std::istringstream words(text);
      TableStep step{line, {}, ""};
      for (std::string w; words >> w;) step.words.push_back(w);
      if (step.words.empty()) continue;
      if (step.words[0] == "case") {
        cases.push_back(TableCase{file.stem().string(), text.substr(5), {}});
        continue;
      }
      if (const size_t skip = wordsBeforeText(step.words)) {
        size_t at = 0;
        for (size_t k = 0; k < skip && at != std::string::npos; ++k) {
          at = text.find_first_not_of(' ', at);
          at = at == std::string::npos ? at : text.find(' ', at);
        }
        step.rest = at == std::string::npos ? "" : text.substr(text.find_first_not_of(' ', at));
      }
      if (!cases.empty()) cases.back().steps.push_back(step);
    }
  }
  return cases;
}

}  // namespace zems_test
