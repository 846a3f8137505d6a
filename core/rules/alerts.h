// Alerts of a setting change: an item's Alert list names the message box a change raises, and
// the record's AlertAction list says, per answer, which Transact list then runs and which
// control gets the focus. The dialog engine shows the message boxes itself.
#pragma once
#include "platform/win32.h"

struct AlertRecord;
struct DriverContext;
struct ModelItemDescriptor;

// The first record whose judge is true (a record without a judge is never true), or null; the
// caller takes message id, icon, buttons and timing from it.
const AlertRecord* JudgeFirstTrueEntry(const AlertRecord* first, DriverContext* ctx);
// The message id of that record; 0 when none is true.
int JudgeFirstTrueValue(const AlertRecord* first, DriverContext* ctx);
// JudgeFirstTrueValue over the Alert list of the descriptor's Exclusive record (0 without
// one): above 0 the change raises an alert.
int ModelCheckItemAlert(const ModelItemDescriptor* desc, DriverContext* ctx);

// Runs what the alert's AlertAction list says for the message-box result (IDOK ... IDHELP):
// the Transact list of the first entry for that button, then the focus on the entry's control
// when its dialog page is open and the control is found there. Returns the Transact list's
// result (a dialog id to open, or 0); 0 when no entry matches.
int ModelRunAlertAction(const AlertRecord* alert, int result, DriverContext* ctx);
int ModelRunAlertActionFor(const AlertRecord* alert, DriverContext* ctx, int result);
