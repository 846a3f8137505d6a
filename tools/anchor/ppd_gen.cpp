#include "tools/anchor/ppd_gen.h"

#include <stdio.h>

#include <vector>

namespace {

// A choice's keyword: the value's place in its list. A PPD line says more around a choice
// than a description does, so the value's own name would make the PPD far longer; the padding
// below brings it to the description's size with choice texts instead.
std::string ChoiceKeyword(size_t v) { return "V" + std::to_string(v); }

// An option's keyword: the item's name without its prefix, short enough that "Default" and
// the name are still a keyword (PPD keywords hold at most 40 characters); a shortened name
// keeps its index so that it stays unique.
std::string OptionKeyword(const std::string& name, size_t index) {
  std::string k = name.compare(0, 4, "TOV_") == 0 ? name.substr(4) : name;
  if (k.size() > 33) k = k.substr(0, 26) + "_" + std::to_string(index);
  return k;
}

// The two items rule r relates, as the description's rules do: a judge reads one item and
// names another, the same-rules shape keeps each rule between an item and its neighbour.
void RuleItems(const ModelGenShape& shape, int r, int n, int* a, int* b) {
  if (shape.sameRulesPerItem) {
    *a = (r / 8) % n;
  } else {
    *a = r % n;
  }
  *b = shape.sameRulesPerItem ? (*a + 1) % n : (r * 3 + 1) % n;
  if (*b == *a) *b = (*a + 1) % n;
}

}  // namespace

std::string GeneratePpd(const ModelGenShape& shape, size_t targetBytes) {
  const std::vector<ModelGenItem> items = GenerateModelItems(shape);
  std::string head =
      "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
      "*LanguageEncoding: ISOLatin1\n*PCFileName: \"ANCHOR.PPD\"\n*Manufacturer: \"Anchor\"\n"
      "*Product: \"(Anchor)\"\n*ModelName: \"Anchor\"\n*ShortNickName: \"Anchor\"\n*NickName: \"Anchor\"\n"
      "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
      "*FileSystem: False\n*Throughput: \"1\"\n*TTRasterizer: Type42\n";
  const int n = static_cast<int>(items.size());
  std::string constraints;
  char line[512];
  for (int r = 1; n > 1 && r <= shape.rules; ++r) {
    int a = 0, b = 0;
    RuleItems(shape, r, n, &a, &b);
    const ModelGenItem& x = items[static_cast<size_t>(a)];
    const ModelGenItem& y = items[static_cast<size_t>(b)];
    snprintf(line, sizeof(line), "*UIConstraints: *%s %s *%s %s\n", OptionKeyword(x.name, static_cast<size_t>(a)).c_str(),
             ChoiceKeyword(static_cast<size_t>(r) % x.values.size()).c_str(),
             OptionKeyword(y.name, static_cast<size_t>(b)).c_str(), ChoiceKeyword(1 % y.values.size()).c_str());
    constraints += line;
  }
  // Options without padding first, to learn how much each choice's text must add.
  size_t choices = 0;
  for (const ModelGenItem& item : items) choices += item.values.size();
  auto options = [&](size_t pad) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
      const std::string name = OptionKeyword(items[i].name, i);
      snprintf(line, sizeof(line), "*OpenUI *%s: PickOne\n*OrderDependency: 10 AnySetup *%s\n*Default%s: %s\n",
               name.c_str(), name.c_str(), name.c_str(), ChoiceKeyword(0).c_str());
      out += line;
      for (size_t v = 0; v < items[i].values.size(); ++v) {
        const std::string choice = ChoiceKeyword(v);
        // The padding is the choice's text, as a PPD's translation strings are.
        const std::string text = pad ? "/" + std::string(pad > 80 ? 80 : pad, 'x') : std::string();
        snprintf(line, sizeof(line), "*%s %s%s: \"@PJL SET O%zu=%zu<0A>\"\n", name.c_str(), choice.c_str(),
                 text.c_str(), i, v);
        out += line;
      }
      snprintf(line, sizeof(line), "*CloseUI: *%s\n", name.c_str());
      out += line;
    }
    return out;
  };
  std::string text = head + options(0) + constraints;
  if (choices && targetBytes > text.size()) text = head + options((targetBytes - text.size()) / choices) + constraints;
  return text;
}
