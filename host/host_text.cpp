#include "host/host_text.h"

std::u16string Wide(const std::string& utf8) {
  if (utf8.empty()) return std::u16string();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::u16string out(n > 0 ? size_t(n) : 0, u'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), reinterpret_cast<LPWSTR>(&out[0]), n);
  return out;
}

std::string Narrow(const WCHAR* text, size_t count) {
  if (!text || count == 0) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text, int(count), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, int(count), &out[0], n, nullptr, nullptr);
  return out;
}

std::string Narrow(const WCHAR* text) {
  size_t n = 0;
  while (text && text[n]) ++n;
  return Narrow(text, n);
}
