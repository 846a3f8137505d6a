// Pictures of the driver's dialogs, made under Wine (scripts/pictures.sh) and compared with the
// references in tests/fixtures/pictures/.
//   picture_tool shoot DLL DIALOG OUT.png [--title TEXT] [--text CONTROL=STRING]...
//     opens dialog DIALOG of resource DLL DLL (control texts from its strings), lets it paint,
//     copies it from its own window DC on its own thread and writes a PNG;
//   picture_tool sheets FOLDER
//     installs the sample printer on the spooler, opens its printing-preferences sheet through
//     DocumentPropertiesW and its printer-properties sheet through the driver's
//     PrinterProperties, shows each page in turn and writes FOLDER/<page id>.png of it;
//   picture_tool compare REFERENCE.png PICTURE.png DIFFERENCE.png
//     passes (exit 0) when both are the same size and at most 1 % of the pixels differ by more
//     than 24 in a channel; otherwise writes the difference picture and exits 1.
// The PNG reader takes only what the writer makes (8-bit RGB, no interlace, filter 0) and
// checks every length against the file.
#include <windows.h>
#include <zlib.h>

#include "driver_wine/sheet_driver.h"
#include "driver_wine/wine_printer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

struct Picture {
  unsigned width = 0, height = 0;
  std::vector<unsigned char> rgb;  // rows top down, 3 bytes a pixel
};

void PutBig32(std::string* out, unsigned v) {
  out->push_back(char(v >> 24));
  out->push_back(char(v >> 16));
  out->push_back(char(v >> 8));
  out->push_back(char(v));
}

unsigned Big32(const unsigned char* p) { return (unsigned(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

void Chunk(std::string* out, const char* type, const std::string& data) {
  PutBig32(out, unsigned(data.size()));
  std::string typed = std::string(type, 4) + data;
  out->append(typed);
  PutBig32(out, unsigned(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
}

const char kSignature[] = "\x89PNG\r\n\x1a\n";

bool WritePng(const Picture& p, const char* path) {
  std::string raw;
  for (unsigned y = 0; y < p.height; ++y) {
    raw.push_back(0);
    raw.append(reinterpret_cast<const char*>(&p.rgb[size_t(y) * p.width * 3]), size_t(p.width) * 3);
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                uLong(raw.size()), 9) != Z_OK)
    return false;
  packed.resize(packedSize);
  std::string header;
  PutBig32(&header, p.width);
  PutBig32(&header, p.height);
  header += std::string("\x08\x02\x00\x00\x00", 5);
  std::string file(kSignature, 8);
  Chunk(&file, "IHDR", header);
  Chunk(&file, "IDAT", packed);
  Chunk(&file, "IEND", "");
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = fwrite(file.data(), 1, file.size(), f) == file.size();
  return fclose(f) == 0 && ok;
}

bool ReadPng(const char* path, Picture* p) {
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  std::string file;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0 && file.size() < (64u << 20)) file.append(buffer, n);
  fclose(f);
  if (file.size() < 8 || file.compare(0, 8, std::string(kSignature, 8)) != 0) return false;
  const unsigned char* b = reinterpret_cast<const unsigned char*>(file.data());
  size_t at = 8;
  std::string packed;
  bool header = false;
  while (file.size() - at >= 12) {
    unsigned length = Big32(b + at);
    if (length > file.size() - at - 12) return false;
    std::string type(file, at + 4, 4);
    const unsigned char* data = b + at + 8;
    if (type == "IHDR") {
      if (length != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0) return false;
      p->width = Big32(data);
      p->height = Big32(data + 4);
      if (!p->width || !p->height || p->width > 8192 || p->height > 8192) return false;
      header = true;
    } else if (type == "IDAT") {
      packed.append(reinterpret_cast<const char*>(data), length);
    } else if (type == "IEND") {
      break;
    }
    at += 12 + size_t(length);
  }
  if (!header) return false;
  uLongf rawSize = uLongf((size_t(p->width) * 3 + 1) * p->height);
  std::string raw(rawSize, '\0');
  if (uncompress(reinterpret_cast<Bytef*>(&raw[0]), &rawSize, reinterpret_cast<const Bytef*>(packed.data()),
                 uLong(packed.size())) != Z_OK ||
      rawSize != raw.size())
    return false;
  p->rgb.resize(size_t(p->width) * p->height * 3);
  for (unsigned y = 0; y < p->height; ++y) {
    size_t row = size_t(y) * (size_t(p->width) * 3 + 1);
    if (raw[row] != 0) return false;
    memcpy(&p->rgb[size_t(y) * p->width * 3], &raw[row + 1], size_t(p->width) * 3);
  }
  return true;
}

// ---- shoot ----

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The window as it shows, copied from its own DC on the thread that painted it.
bool Copy(HWND window, Picture* p) {
  RECT r;
  GetWindowRect(window, &r);
  p->width = unsigned(r.right - r.left);
  p->height = unsigned(r.bottom - r.top);
  if (!p->width || !p->height) return false;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = LONG(p->width);
  info.bmiHeader.biHeight = -LONG(p->height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;  // Wine's null display offers 32 bpp only
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = NULL;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BOOL copied = BitBlt(memory, 0, 0, int(p->width), int(p->height), source, 0, 0, SRCCOPY);
  GdiFlush();
  p->rgb.resize(size_t(p->width) * p->height * 3);
  const unsigned char* px = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; bits && i < size_t(p->width) * p->height; ++i) {
    p->rgb[i * 3] = px[i * 4 + 2];
    p->rgb[i * 3 + 1] = px[i * 4 + 1];
    p->rgb[i * 3 + 2] = px[i * 4];
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return copied && bits;
}

std::wstring Wide(const char* s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, NULL, 0);
  std::wstring w(size_t(n > 0 ? n : 1), wchar_t(0));
  MultiByteToWideChar(CP_UTF8, 0, s, -1, &w[0], n);
  w.resize(wcslen(w.c_str()));
  return w;
}

int Shoot(int argc, char** argv) {
  if (argc < 5) return 2;
  HMODULE dll = LoadLibraryExW(Wide(argv[2]).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (!dll) {
    fprintf(stderr, "picture_tool: cannot load %s (%lu)\n", argv[2], GetLastError());
    return 1;
  }
  HWND dialog = CreateDialogParamW(dll, MAKEINTRESOURCEW(atoi(argv[3])), NULL, Quiet, 0);
  if (!dialog) {
    fprintf(stderr, "picture_tool: no dialog %s in %s (%lu)\n", argv[3], argv[2], GetLastError());
    return 1;
  }
  for (int i = 5; i + 1 < argc; i += 2) {
    if (strcmp(argv[i], "--title") == 0) {
      SetWindowTextW(dialog, Wide(argv[i + 1]).c_str());
    } else if (strcmp(argv[i], "--text") == 0) {
      int control = 0, string = 0;
      if (sscanf(argv[i + 1], "%d=%d", &control, &string) != 2) return 2;
      WCHAR text[1025] = {};
      LoadStringW(dll, UINT(string), text, 1025);
      SetDlgItemTextW(dialog, control, text);
    } else {
      return 2;
    }
  }
  ShowWindow(dialog, SW_SHOWNORMAL);
  RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  Picture p;
  bool ok = Copy(dialog, &p) && WritePng(p, argv[4]);
  DestroyWindow(dialog);
  FreeLibrary(dll);
  if (!ok) fprintf(stderr, "picture_tool: could not copy dialog %s to %s\n", argv[3], argv[4]);
  return ok ? 0 : 1;
}

// ---- sheets ----

struct SheetPictures {
  std::string folder;
  int written = 0;
  bool failed = false;
};

void ShootPage(HWND page, int id, void* context) {
  SheetPictures* pictures = static_cast<SheetPictures*>(context);
  Picture p;
  const std::string path = pictures->folder + "\\" + std::to_string(id) + ".png";
  if (Copy(page, &p) && WritePng(p, path.c_str())) {
    ++pictures->written;
  } else {
    fprintf(stderr, "picture_tool: could not copy page %d to %s\n", id, path.c_str());
    pictures->failed = true;
  }
}

int Sheets(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string error = wine_printer::Install();
  if (!error.empty()) {
    fprintf(stderr, "picture_tool: the sample printer did not install: %s\n", error.c_str());
    return 1;
  }
  SheetPictures pictures;
  pictures.folder = argv[2];
  HANDLE printer = nullptr;
  if (!OpenPrinterW(wine_printer::Name(), &printer, nullptr)) {
    fprintf(stderr, "picture_tool: cannot open the sample printer (%lu)\n", GetLastError());
    return 1;
  }
  sheet_driver::Plan document;
  document.onPage = ShootPage;
  document.context = &pictures;
  std::vector<BYTE> devmode(4096);
  sheet_driver::Start(&document);
  DocumentPropertiesW(nullptr, printer, wine_printer::Name(), reinterpret_cast<PDEVMODEW>(devmode.data()), nullptr,
                      DM_IN_PROMPT | DM_OUT_BUFFER);
  sheet_driver::Stop();
  typedef BOOL(WINAPI * PrinterPropertiesFn)(HWND, HANDLE);
  sheet_driver::Plan device;
  device.onPage = ShootPage;
  device.context = &pictures;
  PrinterPropertiesFn properties = wine_printer::Export<PrinterPropertiesFn>("PrinterProperties");
  if (properties) {
    sheet_driver::Start(&device);
    properties(nullptr, printer);
    sheet_driver::Stop();
  }
  ClosePrinter(printer);
  wine_printer::Remove();
  printf("picture_tool: %d pages of %zu document and %zu device pages\n", pictures.written, document.pageIds.size(),
         device.pageIds.size());
  return pictures.failed || pictures.written == 0 || size_t(pictures.written) != document.pageIds.size() + device.pageIds.size()
             ? 1
             : 0;
}

// ---- compare ----

constexpr int kTolerance = 24;

int Compare(int argc, char** argv) {
  if (argc != 5) return 2;
  Picture reference, picture;
  if (!ReadPng(argv[2], &reference)) {
    fprintf(stderr, "picture_tool: cannot read the reference %s\n", argv[2]);
    return 1;
  }
  if (!ReadPng(argv[3], &picture)) {
    fprintf(stderr, "picture_tool: cannot read %s\n", argv[3]);
    return 1;
  }
  if (reference.width != picture.width || reference.height != picture.height) {
    fprintf(stderr, "picture_tool: %s is %ux%u, its reference %ux%u\n", argv[3], picture.width, picture.height,
            reference.width, reference.height);
    return 1;
  }
  Picture difference = picture;
  size_t off = 0, pixels = size_t(picture.width) * picture.height;
  for (size_t i = 0; i < pixels; ++i) {
    bool differs = false;
    for (int c = 0; c < 3; ++c)
      differs = differs || abs(int(picture.rgb[i * 3 + c]) - int(reference.rgb[i * 3 + c])) > kTolerance;
    // The difference picture: changed pixels red, the rest faded.
    for (int c = 0; c < 3; ++c)
      difference.rgb[i * 3 + c] = differs ? (c == 0 ? 255 : 0) : (unsigned char)(192 + picture.rgb[i * 3 + c] / 4);
    off += differs;
  }
  if (off * 100 <= pixels) return 0;
  WritePng(difference, argv[4]);
  fprintf(stderr, "picture_tool: %zu of %zu pixels of %s differ from %s; difference: %s\n", off, pixels, argv[3],
          argv[2], argv[4]);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int rc = 2;
  if (argc > 1 && strcmp(argv[1], "shoot") == 0) rc = Shoot(argc, argv);
  if (argc > 1 && strcmp(argv[1], "compare") == 0) rc = Compare(argc, argv);
  if (argc > 1 && strcmp(argv[1], "sheets") == 0) rc = Sheets(argc, argv);
  if (rc == 2) fprintf(stderr, "usage: picture_tool shoot DLL DIALOG OUT.png [--title T] [--text ID=STRING]...\n"
                               "       picture_tool sheets FOLDER\n"
                               "       picture_tool compare REFERENCE.png PICTURE.png DIFFERENCE.png\n");
  return rc;
}
