// zemshost model set: changes settings of a printer's context as the dialogs would, with what
// follows each change (the item's Transact list, its alert and the chosen answer), then lists
// what changed and, among the rules that read a changed item (found through the rule index),
// the values that are now disabled, restricted or locked. Nothing is stored.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/alerts.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/rules/rule_index.h"
#include "core/rules/transacts.h"
#include "core/system/resources.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "host/commands.h"
#include "host/host_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

const char kPrefix[] = "TOV_";

const SymbolEntry* FindItemSymbol(const std::string& name) {
  const SymbolEntry* s = TblFindSymbolByName(name.c_str());
  if (!s && name.compare(0, 4, kPrefix) != 0) s = TblFindSymbolByName((kPrefix + name).c_str());
  return s && s->itemId ? s : nullptr;
}

std::string ItemName(WORD id) {
  for (int i = 0; i < TblSymbolCount(); ++i) {
    const SymbolEntry* s = TblSymbolAt(i);
    if (s && s->itemId == id && s->name) return strncmp(s->name, kPrefix, 4) == 0 ? s->name + 4 : s->name;
  }
  return "item " + std::to_string(id);
}

bool IsText(const SettingItem* item) { return ItemTypeIsText(ItemDescType(item->descriptor)); }

// The item's value as shown: its text, the value's name, or the number.
std::string Shown(DriverContext* ctx, const SettingItem* item) {
  if (IsText(item)) {
    std::vector<WCHAR> text(ItemDescSize(item->descriptor) + 2, 0);
    ItemGetTextBounded(ctx, item, text.data(), static_cast<int>(text.size()));
    return "\"" + Narrow(text.data()) + "\"";
  }
  LONG value = static_cast<LONG>(ItemGetValue(ctx, item));
  const ValueSymbol* v = value >= 0 && value <= 0xFFFF ? TblFindValueSymbol(item->id, static_cast<WORD>(value)) : nullptr;
  return v && v->name ? v->name : std::to_string(value);
}

std::map<WORD, std::string> Snapshot(DriverContext* ctx) {
  std::map<WORD, std::string> values;
  for (SHORT i = 0; ctx->items && i < ctx->items->count; ++i) {
    const SettingItem* item = &ctx->items->rows[i];
    if (item->id) values[item->id] = Shown(ctx, item);
  }
  return values;
}

// A value: a value name (DMPAPERSIZE_ENV10) or a number.
bool ParseValue(const std::string& text, LONG* value) {
  if (const ValueSymbol* v = TblFindValueSymbolByName(text.c_str())) {
    *value = v->logical;
    return true;
  }
  char* end = nullptr;
  long n = strtol(text.c_str(), &end, 0);
  if (text.empty() || *end) return false;
  *value = n;
  return true;
}

struct Answer {
  const char* name;
  int id;
};
const Answer kAnswers[] = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"abort", IDABORT}, {"retry", IDRETRY},
                           {"ignore", IDIGNORE}, {"yes", IDYES}, {"no", IDNO}};

const char* AnswerName(int id) {
  for (const Answer& a : kAnswers)
    if (a.id == id) return a.name;
  return "?";
}

// Whether an alert's answer lets the change stand, as the dialogs decide: OK on an OK/Cancel
// box, or an information box with OK alone; every other answer and box refuses it.
bool AnswerKeepsChange(const AlertRecord* alert, int answer) {
  const UINT buttons = alert->buttons & 0x0F, icon = alert->icon & 0xF0;
  return (buttons == MB_OKCANCEL && answer == IDOK) || (buttons == MB_OK && icon == MB_ICONINFORMATION);
}

// The follow-ups of one change in the dialogs' commit order: the item's alert first; without
// one the transacts; with one the answer's action, and an answer that refuses the change puts
// the old value back. A dialog that transacts or an answer name is reported, not opened.
// False when the change was refused.
bool FollowUp(DriverContext* ctx, WORD id, const std::string& name, const std::function<void()>& putBack) {
  const ModelItemDescriptor* desc = ModelGetDescriptor(id, ctx);
  if (!desc) return true;
  if (ModelCheckItemAlert(desc, ctx) < 1) {
    if (int dialog = ModelRunItemTransacts(desc, ctx)) printf("  %s: its transacts name dialog %d\n", name.c_str(), dialog);
    return true;
  }
  const AlertRecord* alert = desc->exclusive ? JudgeFirstTrueEntry(desc->exclusive->alert, ctx) : nullptr;
  if (!alert) return true;
  std::string text;
  if (const MessageEntry* m = TblFindMessage(ctx, alert->messageId)) {
    WCHAR buffer[512] = {};
    ResLoadString(ctx, m->stringId, buffer, 512, TRUE);
    text = Narrow(buffer);
    if (m->name) printf("  %s: alert %s", name.c_str(), m->name);
    else printf("  %s: alert %u", name.c_str(), static_cast<unsigned>(alert->messageId));
  } else {
    printf("  %s: alert %u", name.c_str(), static_cast<unsigned>(alert->messageId));
  }
  std::u16string wide = Wide(text);
  int answer = WuiMessageBox(nullptr, reinterpret_cast<LPCWSTR>(wide.c_str()), nullptr,
                             static_cast<UINT>(alert->icon | alert->buttons));
  const bool stands = AnswerKeepsChange(alert, answer);
  printf(" (icon 0x%x, buttons %u, timing %u)%s%s: answered %s%s\n", alert->icon, alert->buttons, alert->timing,
         text.empty() ? "" : " ", text.empty() ? "" : ("\"" + text + "\"").c_str(), AnswerName(answer),
         stands ? "" : ": refused, the old value is back");
  if (!stands) putBack();
  if (int dialog = ModelRunAlertActionFor(alert, ctx, answer))
    printf("  %s: the answer names dialog %d\n", name.c_str(), dialog);
  return stands;
}

// One rule state that holds: item, value (0 for the item itself), judge 1-3.
using State = std::tuple<WORD, WORD, int>;

void Collect(DriverContext* ctx, JudgePass* pass, const ModelRuleRef& r, std::set<State>* seen,
             std::set<State>* now) {
  if (r.kind != kRuleRefItemJudge && r.kind != kRuleRefValueJudge) return;
  State s{r.itemId, r.valueId, r.judge};
  if (!seen->insert(s).second) return;
  if (RuleRefEvaluateInPass(&r, ctx, pass)) now->insert(s);
}

void PrintStates(const std::set<State>& now) {
  const char* titles[3] = {"now disabled:  ", "now restricted:", "now locked:    "};
  for (int judge = 1; judge <= 3; ++judge) {
    std::string line;
    for (const State& s : now) {
      if (std::get<2>(s) != judge) continue;
      WORD item = std::get<0>(s), value = std::get<1>(s);
      std::string one = ItemName(item);
      if (value) {
        const ValueSymbol* v = TblFindValueSymbol(item, value);
        one += "=" + (v && v->name ? std::string(v->name) : std::to_string(value));
      }
      line += " " + one;
    }
    printf("%s%s\n", titles[judge - 1], line.empty() ? " (none)" : line.c_str());
  }
}

int Fail(const char* message, const std::string& what) {
  fprintf(stderr, "zemshost model set: %s%s\n", message, what.c_str());
  return 1;
}

}  // namespace

int CmdModelSet(int argc, char** argv) {
  const char* printer = nullptr;
  std::vector<std::pair<std::string, std::string>> changes;
  std::vector<int> answers;
  for (int i = 0; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--answer" && i + 1 < argc) {
      std::string name = argv[++i];
      int id = 0;
      for (const Answer& a : kAnswers)
        if (name == a.name) id = a.id;
      if (!id) {
        fprintf(stderr, "zemshost model set: unknown answer '%s' (ok, cancel, abort, retry, ignore, yes, no)\n", name.c_str());
        return 2;
      }
      answers.push_back(id);
    } else if (!printer) {
      printer = argv[i];
    } else if (arg.find('=') != std::string::npos && arg.find('=') > 0) {
      changes.emplace_back(arg.substr(0, arg.find('=')), arg.substr(arg.find('=') + 1));
    } else {
      fprintf(stderr, "zemshost model set: expected ITEM=VALUE, not '%s'\n", arg.c_str());
      return 2;
    }
  }
  if (!printer || changes.empty()) {
    fprintf(stderr, "zemshost model set: expected PRINTER and at least one ITEM=VALUE\n");
    return 2;
  }
  std::u16string wide = Wide(printer);
  HANDLE h = nullptr;
  if (!OpenPrinterW(reinterpret_cast<LPWSTR>(&wide[0]), &h, nullptr)) return Fail("no printer ", std::string("'") + printer + "'");
  DriverContext* ctx = CtxOpen(h, h, nullptr, 0, kKindSettings, 0, nullptr);
  if (!ctx) {
    ClosePrinter(h);
    return Fail("no context for ", std::string("'") + printer + "' (its model description cannot be loaded)");
  }
  SimUiScriptAnswers(answers.data(), static_cast<int>(answers.size()));
  printf("printer:     %s\n", printer);
  int status = 0;
  std::set<WORD> changed;
  for (const auto& change : changes) {
    const SymbolEntry* symbol = FindItemSymbol(change.first);
    LONG value = 0;
    if (!symbol) {
      status = Fail("no item ", change.first);
      break;
    }
    const SettingItem* target = ItemFind(ctx, symbol->itemId);
    if (!(target && IsText(target)) && !ParseValue(change.second, &value)) {
      status = Fail("not a value name or number: ", change.second);
      break;
    }
    const std::string name = ItemName(symbol->itemId);
    const std::map<WORD, std::string> before = Snapshot(ctx);
    SettingItem* item = ItemFind(ctx, symbol->itemId);
    const bool text = item && IsText(item);
    const LONG_PTR old = item && !text ? ItemGetValue(ctx, item) : 0;
    std::vector<WCHAR> oldText(item && text ? ItemDescSize(item->descriptor) + 2 : 1, 0);
    if (item && text) ItemGetTextBounded(ctx, item, oldText.data(), static_cast<int>(oldText.size()));
    bool stored = false;
    if (text) {
      // ITEM="text": the quotes are the form's, the text is what is stored.
      std::string t = change.second;
      if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
      std::u16string w = Wide(t);
      stored = ItemSetText(ctx, item, reinterpret_cast<const WCHAR*>(w.c_str())) != nullptr;
    } else {
      stored = ParseValue(change.second, &value) && ItemSetValueById(ctx, symbol->itemId, value);
    }
    if (!stored) {
      status = Fail("the item refuses the value: ", change.first + "=" + change.second);
      break;
    }
    printf("set:         %s=%s\n", name.c_str(), change.second.c_str());
    FollowUp(ctx, symbol->itemId, name, [&] {
      if (text) ItemSetText(ctx, item, oldText.data());
      else ItemSetValueById(ctx, symbol->itemId, old);
    });
    // What this change and its follow-ups changed.
    const std::map<WORD, std::string> after = Snapshot(ctx);
    bool any = false;
    for (const auto& v : after) {
      auto old = before.find(v.first);
      if (old == before.end() || old->second == v.second) continue;
      changed.insert(v.first);
      any = true;
      printf("  changed:   %s: %s -> %s\n", ItemName(v.first).c_str(), old->second.c_str(), v.second.c_str());
    }
    if (!any) printf("  changed:   nothing\n");
  }
  if (status == 0) {
    // The rules that read a changed item, through the image's index (one of its own when the
    // image is not the process cache's).
    const ModelRuleIndex* index = ModelGetRuleIndex(ctx);
    ModelRuleIndex* own = index ? nullptr : RuleIndexBuild(ModelImageOfContext(ctx));
    if (own) index = own;
    std::set<State> seen, now;
    // The settings stay as they are while the rules are asked: one pass for all of them.
    JudgePass pass;
    JudgePassBegin(&pass);
    for (WORD id : changed) {
      ModelRuleRefs refs = RuleIndexReadersOf(index, id);
      for (DWORD i = 0; i < refs.count; ++i) Collect(ctx, &pass, refs.refs[i], &seen, &now);
    }
    if (!changed.empty()) {
      ModelRuleRefs any = RuleIndexReadersOfAny(index);
      for (DWORD i = 0; i < any.count; ++i) Collect(ctx, &pass, any.refs[i], &seen, &now);
    }
    RuleIndexFree(own);
    printf("rules:       %zu judges read the changed items\n", seen.size());
    PrintStates(now);
  }
  CtxRelease(ctx, kReleaseExpired);
  ClosePrinter(h);
  return status;
}
