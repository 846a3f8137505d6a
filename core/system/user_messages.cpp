// Every message the core shows goes through one composer. A language string is a format only
// through our own formatter: a translated text holding a directive it was not meant to have
// must never make the driver read an argument nobody passed.
#include "core/system/user_messages.h"

#include "core/common/mem.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"

namespace {

constexpr int kTextChars = 1025;    // a loaded text: at most 1024 characters
constexpr int kCaptionChars = 262;  // a loaded caption: at most 261 characters
constexpr DWORD kMaxWidth = 1024;   // a wider field is not filled beyond this
constexpr WORD kWaitDialog = 4006;
constexpr int kWaitText = 5005;

// Writes characters into a bounded buffer while counting all of them.
class Output {
 public:
  Output(WCHAR* out, size_t cch) : out_(out), cch_(cch) {}
  void Put(WCHAR c) {
    if (out_ && length_ + 1 < cch_) out_[length_] = c;
    ++length_;
  }
  void Put(const WCHAR* text, size_t count) {
    for (size_t i = 0; i < count; ++i) Put(text[i]);
  }
  void Finish() {
    if (out_ && cch_) out_[length_ < cch_ ? length_ : cch_ - 1] = 0;
  }
  size_t length() const { return length_; }

 private:
  WCHAR* out_;
  size_t cch_;
  size_t length_ = 0;
};

size_t Length(LPCWSTR text) {
  size_t n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

// One number of a %u, %d or %x directive with its flags and width.
void PutNumber(Output* o, DWORD value, WCHAR type, bool left, bool zero, bool alternate, DWORD width,
               bool negative = false) {
  WCHAR digits[12];
  int n = 0;
  DWORD base = type == u'x' ? 16 : 10;
  DWORD v = negative ? 0u - value : value;
  do {
    DWORD d = v % base;
    digits[n++] = static_cast<WCHAR>(d < 10 ? u'0' + d : u'a' + d - 10);
    v /= base;
  } while (v);
  DWORD prefix = alternate && type == u'x' && value ? 2 : 0;
  DWORD used = static_cast<DWORD>(n) + prefix + (negative ? 1 : 0);
  DWORD pad = width > used ? width - used : 0;
  if (!left && !zero)
    for (DWORD i = 0; i < pad; ++i) o->Put(u' ');
  if (negative) o->Put(u'-');
  if (prefix) {
    o->Put(u'0');
    o->Put(u'x');
  }
  if (!left && zero)
    for (DWORD i = 0; i < pad; ++i) o->Put(u'0');
  while (n) o->Put(digits[--n]);
  if (left)
    for (DWORD i = 0; i < pad; ++i) o->Put(u' ');
}

// Freed with MemFree when the holder goes.
struct TextBuffer {
  WCHAR* text = nullptr;
  explicit TextBuffer(size_t chars) : text(static_cast<WCHAR*>(MemAllocZero(chars * sizeof(WCHAR)))) {}
  ~TextBuffer() { MemFree(text); }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
};

HWND OwnerOrActive(HWND owner) { return owner ? owner : WuiActiveWindow(); }

}  // namespace

size_t UiFormatMessageText(LPCWSTR format, WORD kind, const void* arguments, int numberCount, WCHAR* out,
                           size_t cchOut) {
  Output o(out, cchOut);
  const size_t length = Length(format);
  const WORD* numbers = kind == kUiArgNumbers ? static_cast<const WORD*>(arguments) : nullptr;
  const LONG* longs = kind == kUiArgLongs ? static_cast<const LONG*>(arguments) : nullptr;
  LPCWSTR text = kind == kUiArgText ? static_cast<LPCWSTR>(arguments) : nullptr;
  int numbersLeft = numbers || longs ? numberCount : 0;
  bool textLeft = text != nullptr;
  for (size_t i = 0; i < length;) {
    if (format[i] != u'%') {
      o.Put(format[i++]);
      continue;
    }
    if (i + 1 < length && format[i + 1] == u'%') {
      o.Put(u'%');
      i += 2;
      continue;
    }
    // %[-0#][width]type; what does not parse, or has no argument left, stays text.
    size_t at = i + 1;
    bool left = false, zero = false, alternate = false;
    for (; at < length; ++at) {
      if (format[at] == u'-')
        left = true;
      else if (format[at] == u'0')
        zero = true;
      else if (format[at] == u'#')
        alternate = true;
      else
        break;
    }
    DWORD width = 0;
    for (; at < length && format[at] >= u'0' && format[at] <= u'9'; ++at)
      width = width < kMaxWidth ? width * 10 + static_cast<DWORD>(format[at] - u'0') : width;
    if (width > kMaxWidth) width = kMaxWidth;
    WCHAR type = at < length ? format[at] : 0;
    bool flagsOrWidth = at != i + 1;
    if (type == u's' && textLeft && !flagsOrWidth) {
      o.Put(text, Length(text));
      textLeft = false;
      i = at + 1;
    } else if ((type == u'u' || type == u'd' || type == u'x') && numbersLeft > 0) {
      if (longs) {
        const LONG value = *longs++;
        PutNumber(&o, static_cast<DWORD>(value), type, left, zero, alternate, width, type == u'd' && value < 0);
      } else {
        PutNumber(&o, *numbers++, type, left, zero, alternate, width);
      }
      --numbersLeft;
      i = at + 1;
    } else {
      o.Put(format[i++]);
    }
  }
  o.Finish();
  return o.length();
}

int UiShowComposedMessage(DriverContext* ctx, const MessageRequest* request, HWND owner) {
  if (!request) return 0;
  const WORD kind = request->argumentKind;
  if (kind > kUiArgNumbers) return 0;
  if (kind == kUiArgNone && request->arguments) return 0;
  if (kind == kUiArgNumbers && request->numberCount == 0) return 0;
  const int numberCount = request->numberCount > kUiMaxNumbers ? 1 : request->numberCount;

  TextBuffer format(kTextChars), caption(kCaptionChars);
  if (!format.text || !caption.text) return 0;
  ResLoadString(ctx, request->textId, format.text, kTextChars, TRUE);
  LPCWSTR captionText = nullptr;
  if (request->captionId) {
    ResLoadString(ctx, request->captionId, caption.text, kCaptionChars, TRUE);
    captionText = caption.text;
  } else if (ctx) {
    captionText = PrnGetPrinterName(ctx);
  }

  // Null arguments leave the text unformatted, as no arguments do.
  const bool formatted = kind != kUiArgNone && request->arguments;
  const size_t prefixChars = Length(request->prefix), suffixChars = Length(request->suffix);
  const size_t textChars =
      formatted ? UiFormatMessageText(format.text, kind, request->arguments, numberCount, nullptr, 0)
                : Length(format.text);
  static const WCHAR kBreaks[] = TEXT("\r\n\r\n");
  const size_t total = (request->prefix ? prefixChars + 4 : 0) + textChars +
                       (request->suffix ? 4 + suffixChars + 4 : 0) + 1;
  TextBuffer message(total);
  if (!message.text) return 0;
  Output o(message.text, total);
  if (request->prefix) {
    o.Put(request->prefix, prefixChars);
    o.Put(kBreaks, 4);
  }
  if (formatted)
    UiFormatMessageText(format.text, kind, request->arguments, numberCount, message.text + o.length(),
                        total - o.length());
  else
    o.Put(format.text, textChars);
  Output rest(message.text + (request->prefix ? prefixChars + 4 : 0) + textChars,
              total - (request->prefix ? prefixChars + 4 : 0) - textChars);
  if (request->suffix) {
    rest.Put(kBreaks, 4);
    rest.Put(request->suffix, suffixChars);
    rest.Put(kBreaks, 4);
  }
  rest.Finish();
  return WuiMessageBox(owner, message.text, captionText, static_cast<UINT>(request->buttonStyle | request->iconStyle));
}

int UiWarnById(DriverContext* ctx, HWND owner, WORD textId, UINT buttons) {
  MessageRequest request = {};
  request.textId = textId;
  request.iconStyle = MB_ICONWARNING;
  request.buttonStyle = static_cast<WORD>(buttons);
  return UiShowComposedMessage(ctx, &request, OwnerOrActive(owner));
}

int UiWarnOk(DriverContext* ctx, HWND owner, WORD textId) { return UiWarnById(ctx, owner, textId, MB_OK); }

int UiWarnOkCancel(DriverContext* ctx, HWND owner, WORD textId) {
  return UiWarnById(ctx, owner, textId, MB_OKCANCEL);
}

int UiWarnWithArgument(DriverContext* ctx, HWND owner, UINT textId, LPCWSTR text) {
  MessageRequest request = {};
  request.textId = static_cast<WORD>(textId);
  request.iconStyle = MB_ICONWARNING;
  request.buttonStyle = MB_OK;
  request.argumentKind = kUiArgText;
  request.arguments = text;
  return UiShowComposedMessage(ctx, &request, OwnerOrActive(owner));
}

int UiShowMessageById(DriverContext* ctx, HWND owner, WORD textId, UINT icon, UINT buttons) {
  MessageRequest request = {};
  request.textId = textId;
  request.iconStyle = static_cast<WORD>(icon);
  request.buttonStyle = static_cast<WORD>(buttons);
  return UiShowComposedMessage(ctx, &request, owner);
}

int UiShowSystemError(DriverContext* ctx, DWORD errorCode, HWND owner) {
  WCHAR* text = nullptr;
  DWORD chars = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, errorCode, 0x400, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  if (chars && text) WuiMessageBox(owner, text, ctx ? PrnGetPrinterName(ctx) : nullptr, MB_ICONWARNING);
  if (text) LocalFree(text);
  return 1;
}

HWND UiShowWaitDialog(DriverContext* ctx, WORD textId) {
  if (!ctx || !ctx->ui) return nullptr;
  HMODULE language = ResLoadLanguageDll(ctx);
  if (!language) return nullptr;
  WCHAR* text = ctx->ui->textBuffer;
  ResLoadString(ctx, textId, text, kTextBufferChars, TRUE);
  HWND dialog = WuiCreateDialog(language, kWaitDialog, WuiActiveWindow(), nullptr, 0);
  if (!dialog) return nullptr;
  WuiSetText(dialog, PrnGetPrinterName(ctx));
  WuiSetText(WuiFindControl(dialog, kWaitText), text);
  return dialog;
}

void UiCloseWaitDialog(HWND window) {
  if (window) WuiDestroy(window);
}
