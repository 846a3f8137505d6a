// The one-pass settings ini reader held against the system's ini calls.
#include "support/ini_table_compare.h"

#include <stdio.h>
#include <string.h>

#include <set>

#include "core/store/ini_table.h"

namespace zems_test {
namespace {

std::u16string Printable(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", unsigned(c));
      for (const char* p = hex; *p; ++p) out += char16_t(*p);
    } else {
      out += c;
    }
  }
  return out;
}

std::string Narrow(const std::u16string& text) {
  std::u16string p = Printable(text);
  return std::string(p.begin(), p.end());
}

// ASCII and Latin-1 letters in the other case.
std::u16string SwapCase(std::u16string text) {
  for (char16_t& c : text) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      c = char16_t(c + 32);
    else if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
      c = char16_t(c - 32);
  }
  return text;
}

void AddList(const WCHAR* list, std::set<std::u16string>* names) {
  for (const WCHAR* p = list; *p; p += lstrlenW(p) + 1) names->insert(reinterpret_cast<const char16_t*>(p));
}

}  // namespace

std::vector<std::u16string> IniLookupNames(const std::string& bytes, LPCWSTR path,
                                           const std::vector<std::u16string>& extra) {
  std::set<std::u16string> names(extra.begin(), extra.end());
  std::vector<WCHAR> list(65536);
  GetPrivateProfileSectionNamesW(list.data(), DWORD(list.size()), path);
  std::set<std::u16string> sections;
  AddList(list.data(), &sections);
  for (const std::u16string& section : sections) {
    names.insert(section);
    std::vector<WCHAR> keys(65536);
    GetPrivateProfileStringW(reinterpret_cast<LPCWSTR>(section.c_str()), nullptr, TEXT(""), keys.data(),
                             DWORD(keys.size()), path);
    AddList(keys.data(), &names);
  }
  // The raw pieces of each line (ASCII files; others are covered by the lists above).
  size_t start = 0;
  while (start < bytes.size() && names.size() < 400) {
    size_t nl = bytes.find('\n', start);
    std::string line = bytes.substr(start, (nl == std::string::npos ? bytes.size() : nl) - start);
    start = nl == std::string::npos ? bytes.size() : nl + 1;
    size_t eq = line.find('=');
    std::string pieces[] = {line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1),
                            line.find('[') == std::string::npos ? "" : line.substr(line.find('[') + 1)};
    pieces[2] = pieces[2].substr(0, pieces[2].rfind(']'));
    for (const std::string& piece : pieces) {
      std::u16string wide;
      for (char c : piece) {
        if (!c) break;
        wide += char16_t(static_cast<unsigned char>(c));
      }
      names.insert(wide);
    }
  }
  std::vector<std::u16string> out;
  for (const std::u16string& name : names) {
    out.push_back(name);
    out.push_back(SwapCase(name));
    out.push_back(u" " + name + u"\t");
  }
  return out;
}

std::string CompareIniTableWithIniCalls(const std::string& bytes, LPCWSTR path,
                                        const std::vector<std::u16string>& names) {
  IniTable* table = StoreIniTableLoad(path);
  if (!table) return "the file could not be read";
  std::string difference;
  const DWORD sizes[] = {1, 2, 5, 300};
  WCHAR expected[300], actual[300];
  for (const std::u16string& sectionName : names) {
    LPCWSTR section = reinterpret_cast<LPCWSTR>(sectionName.c_str());
    const IniTableSection* body = StoreIniTableFindSection(table, section);
    // A section is there for the ini calls when one of its keys, or its default, reads back.
    for (size_t k = 0; k < names.size() && difference.empty(); ++k) {
      LPCWSTR key = reinterpret_cast<LPCWSTR>(names[k].c_str());
      for (DWORD size : sizes) {
        LPCWSTR def = k % 3 == 0 ? TEXT(" \"dflt\" \t") : TEXT("dflt");
        DWORD n = GetPrivateProfileStringW(section, key, def, expected, size, path);
        DWORD m = StoreIniTableGetString(body, key, def, actual, size);
        if (n != m || memcmp(expected, actual, (n + 1) * sizeof(WCHAR)) != 0) {
          difference = "section \"" + Narrow(sectionName) + "\" key \"" + Narrow(names[k]) + "\" size " +
                       std::to_string(size) + ": ini calls \"" + Narrow(std::u16string(expected, expected + n)) +
                       "\", one pass \"" + Narrow(std::u16string(actual, actual + m)) + "\"";
          break;
        }
      }
    }
    if (!difference.empty()) break;
  }
  StoreIniTableFree(table);
  (void)bytes;
  return difference;
}

}  // namespace zems_test
