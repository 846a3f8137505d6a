// An ini file held as its lines, with Windows' reading rules and in-place edits that keep
// every untouched line as it was.
#pragma once
#include <string>
#include <vector>

namespace winsim {

class IniDocument {
 public:
  // Decodes file bytes: UTF-16 LE when they start with its byte-order mark, else the ANSI
  // code page.
  static IniDocument Parse(const std::string& bytes);
  // Encodes the lines again, CRLF after each, in the encoding the file had.
  std::string Serialize() const;

  // Reading. The first section of a name counts; lines before the first header form the
  // section named "" (never listed).
  std::vector<std::u16string> SectionNames() const;
  bool HasSection(const std::u16string& section) const;
  // Keys with a value ("key=value" lines, comments excluded).
  std::vector<std::u16string> KeyNames(const std::u16string& section) const;
  // The raw (trimmed, quotes kept) value of a key; false when absent.
  bool Value(const std::u16string& section, const std::u16string& key, std::u16string* value) const;
  // The section's lines as "key=value" (or the bare line), comments and blank lines excluded.
  std::vector<std::u16string> SectionLines(const std::u16string& section) const;

  // Editing; each returns whether the document changed.
  // The value is stored without the blanks before it.
  bool SetValue(const std::u16string& section, const std::u16string& key, const std::u16string& text);
  bool DeleteKey(const std::u16string& section, const std::u16string& key);
  bool DeleteSection(const std::u16string& section);
  bool ReplaceSection(const std::u16string& section, const std::vector<std::u16string>& lines);

 private:
  enum Kind { kBlank, kHeader, kKey, kBare, kComment };
  struct Line {
    std::u16string text;   // as in the file, without line end
    std::string raw;       // the line's bytes in an ANSI file, written back as they were
    bool hasRaw = false;
    Kind kind = kBlank;
    std::u16string name;   // section name of a header, key of a key line
    std::u16string value;  // trimmed value of a key line
  };
  static Line Classify(const std::u16string& text);
  // [first, end) lines of a section's body; false when the section is absent. header is the
  // header's index, or -1 for the part before the first header.
  bool Find(const std::u16string& section, int* header, size_t* first, size_t* end) const;
  int FindKey(size_t first, size_t end, const std::u16string& key) const;

  std::vector<Line> lines_;
  bool unicode_ = false;
};

// Trims the blanks Windows trims around names and values.
std::u16string TrimBlanks(const std::u16string& text);
// Removes one pair of matching surrounding quotes (" or '), as the reading calls do.
std::u16string StripQuotes(const std::u16string& text);

}  // namespace winsim
