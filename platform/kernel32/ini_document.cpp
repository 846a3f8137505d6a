// Parsing, lookup and editing of ini text.
#include "platform/kernel32/ini_document.h"

#include "platform/kernel32/file_internal.h"

namespace winsim {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

}  // namespace

std::u16string TrimBlanks(const std::u16string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::u16string StripQuotes(const std::u16string& text) {
  if (text.size() >= 2 && (text[0] == u'"' || text[0] == u'\'') && text.back() == text[0])
    return text.substr(1, text.size() - 2);
  return text;
}

IniDocument::Line IniDocument::Classify(const std::u16string& text) {
  Line line;
  line.text = text;
  std::u16string t = TrimBlanks(text);
  if (t.empty()) return line;
  if (t[0] == u'[') {
    // The name runs to the line's last ']', so a name that holds one reads back as written.
    size_t close = t.rfind(u']');
    if (close != std::u16string::npos) {
      line.kind = kHeader;
      line.name = TrimBlanks(t.substr(1, close - 1));
      return line;
    }
  }
  size_t eq = t.find(u'=');
  if (eq == std::u16string::npos) {
    line.kind = t[0] == u';' ? kComment : kBare;
    line.name = t;
    return line;
  }
  // A commented-out "key=value" can still be read by its full name, as Windows does, but it
  // is never listed.
  line.kind = t[0] == u';' ? kComment : kKey;
  line.name = TrimBlanks(t.substr(0, eq));
  line.value = TrimBlanks(t.substr(eq + 1));
  return line;
}

IniDocument IniDocument::Parse(const std::string& bytes) {
  IniDocument doc;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    doc.unicode_ = true;
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text += char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    size_t start = 0;
    while (start < text.size()) {
      size_t nl = text.find(u'\n', start);
      size_t end = nl == std::u16string::npos ? text.size() : nl;
      std::u16string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == u'\r') line.pop_back();
      doc.lines_.push_back(Classify(line));
      start = end + 1;
    }
    return doc;
  }
  // ANSI text is split into lines before it is decoded (a line feed is never part of a
  // double-byte character), so lines nobody edits keep their exact bytes even where the code
  // page has no character for them.
  size_t start = 0;
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    size_t end = nl == std::string::npos ? bytes.size() : nl;
    std::string raw = bytes.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    Line line = Classify(AnsiToWide(raw.data(), raw.size()));
    line.raw = raw;
    line.hasRaw = true;
    doc.lines_.push_back(line);
    start = end + 1;
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  if (!unicode_) {
    std::string bytes;
    for (const Line& line : lines_) {
      bytes += line.hasRaw ? line.raw : WideToAnsi(line.text);
      bytes += "\r\n";
    }
    return bytes;
  }
  std::u16string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += u"\r\n";
  }
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  return bytes;
}

bool IniDocument::Find(const std::u16string& section, int* header, size_t* first, size_t* end) const {
  // The caller's name is trimmed as the names in the file are.
  const std::u16string wanted = TrimBlanks(section);
  size_t i = 0;
  if (wanted.empty()) {
    while (i < lines_.size() && lines_[i].kind != kHeader) ++i;
    if (i > 0) {
      *header = -1;
      *first = 0;
      *end = i;
      return true;
    }
  }
  for (; i < lines_.size(); ++i) {
    if (lines_[i].kind == kHeader && SameTextIgnoringCase(lines_[i].name, wanted)) {
      size_t e = i + 1;
      while (e < lines_.size() && lines_[e].kind != kHeader) ++e;
      *header = int(i);
      *first = i + 1;
      *end = e;
      return true;
    }
  }
  return false;
}

int IniDocument::FindKey(size_t first, size_t end, const std::u16string& key) const {
  std::u16string wanted = TrimBlanks(key);
  for (size_t i = first; i < end; ++i)
    if ((lines_[i].kind == kKey || lines_[i].kind == kComment) && SameTextIgnoringCase(lines_[i].name, wanted) &&
        lines_[i].text.find(u'=') != std::u16string::npos)
      return int(i);
  return -1;
}

std::vector<std::u16string> IniDocument::SectionNames() const {
  std::vector<std::u16string> names;
  for (const Line& line : lines_)
    // An empty name would end the zero-separated list where it stands.
    if (line.kind == kHeader && !line.name.empty()) names.push_back(line.name);
  return names;
}

bool IniDocument::HasSection(const std::u16string& section) const {
  int header;
  size_t first, end;
  return Find(section, &header, &first, &end);
}

std::vector<std::u16string> IniDocument::KeyNames(const std::u16string& section) const {
  std::vector<std::u16string> keys;
  int header;
  size_t first, end;
  if (!Find(section, &header, &first, &end)) return keys;
  for (size_t i = first; i < end; ++i)
    if (lines_[i].kind == kKey) keys.push_back(lines_[i].name);
  return keys;
}

bool IniDocument::Value(const std::u16string& section, const std::u16string& key, std::u16string* value) const {
  int header;
  size_t first, end;
  if (!Find(section, &header, &first, &end)) return false;
  int at = FindKey(first, end, key);
  if (at < 0) return false;
  *value = lines_[size_t(at)].value;
  return true;
}

std::vector<std::u16string> IniDocument::SectionLines(const std::u16string& section) const {
  std::vector<std::u16string> out;
  int header;
  size_t first, end;
  if (!Find(section, &header, &first, &end)) return out;
  for (size_t i = first; i < end; ++i) {
    if (lines_[i].kind == kKey) out.push_back(lines_[i].name + u"=" + lines_[i].value);
    if (lines_[i].kind == kBare) out.push_back(lines_[i].name);
  }
  return out;
}

bool IniDocument::SetValue(const std::u16string& section, const std::u16string& key, const std::u16string& text) {
  std::u16string name = TrimBlanks(key);
  // The blanks before a value are dropped, as the system's writer drops them; those after it
  // stay in the file (reading trims both).
  size_t start = 0;
  while (start < text.size() && (text[start] == u' ' || text[start] == u'\t')) ++start;
  std::u16string value = text.substr(start);
  int header;
  size_t first, end;
  if (!Find(section, &header, &first, &end)) {
    lines_.push_back(Classify(u"[" + TrimBlanks(section) + u"]"));
    lines_.push_back(Classify(name + u"=" + value));
    return true;
  }
  int at = FindKey(first, end, name);
  if (at >= 0) {
    // The key keeps the spelling it has in the file.
    Line replaced = Classify(lines_[size_t(at)].name + u"=" + value);
    if (replaced.text == lines_[size_t(at)].text) return false;
    lines_[size_t(at)] = replaced;
    return true;
  }
  // New keys go after the section's last line that is not blank.
  size_t insert = end;
  while (insert > first && lines_[insert - 1].kind == kBlank) --insert;
  lines_.insert(lines_.begin() + long(insert), Classify(name + u"=" + value));
  return true;
}

bool IniDocument::DeleteKey(const std::u16string& section, const std::u16string& key) {
  int header;
  size_t first, end;
  if (!Find(section, &header, &first, &end)) return false;
  int at = FindKey(first, end, key);
  if (at < 0) return false;
  lines_.erase(lines_.begin() + at);
  return true;
}

bool IniDocument::DeleteSection(const std::u16string& section) {
  int header;
  size_t first, end;
  if (!Find(section, &header, &first, &end)) return false;
  size_t from = header < 0 ? 0 : size_t(header);
  lines_.erase(lines_.begin() + long(from), lines_.begin() + long(end));
  return true;
}

bool IniDocument::ReplaceSection(const std::u16string& section, const std::vector<std::u16string>& lines) {
  int header;
  size_t first, end;
  std::vector<Line> body;
  for (const std::u16string& text : lines) body.push_back(Classify(text));
  if (!Find(section, &header, &first, &end)) {
    lines_.push_back(Classify(u"[" + TrimBlanks(section) + u"]"));
    lines_.insert(lines_.end(), body.begin(), body.end());
    return true;
  }
  lines_.erase(lines_.begin() + long(first), lines_.begin() + long(end));
  lines_.insert(lines_.begin() + long(first), body.begin(), body.end());
  return true;
}

}  // namespace winsim
