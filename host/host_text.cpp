#include "host/host_text.h"

#include <stdio.h>
#include <string.h>

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

// The public fields of a DEVMODE a command got back, on one line.
void PrintDevmode(const BYTE* dm) {
  DEVMODEW head;
  memcpy(&head, dm, sizeof(head));
  printf("devmode: fields=0x%08lX orientation=%d paper=%d width=%d length=%d copies=%d source=%d quality=%d "
         "color=%d duplex=%d collate=%d\n",
         static_cast<unsigned long>(head.dmFields), head.dmOrientation, head.dmPaperSize, head.dmPaperWidth,
         head.dmPaperLength, head.dmCopies, head.dmDefaultSource, head.dmPrintQuality, head.dmColor, head.dmDuplex,
         head.dmCollate);
}
