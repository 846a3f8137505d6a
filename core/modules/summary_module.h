// The settings summary: one line per setting (a label and the setting's value in words)
// composed into the read-only summary edits whenever they are shown.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// The composed text's capacity in characters: with a line list, else the control's plain text.
constexpr int kSummaryCapacityLines = 10240;
constexpr int kSummaryCapacityPlain = 1025;
// Once fewer characters than this remain after a line, the marker ends the summary.
constexpr int kSummaryReserve = 256;
// The marker that ends a summary cut short: five katakana middle dots and "etc".
extern const WCHAR kSummaryMarker[];

// The pages and controls of the summary: the settings-summary dialog's list and the
// maintenance dialog's status field.
enum : WORD {
  kSummaryPage = 1020,
  kSummaryControl = 2248,
  kSummaryStatusPage = 1007,
  kSummaryStatusControl = 2148,
};

// 1 when the line with this label is shown under the current settings (a label without a
// filter row always is).
int SummaryLineAccepted(DriverContext* ctx, WORD label);
// Composes the lines into text (capacity characters with its terminator, never written past):
// label and value text of each accepted line, CR LF between them and none after the last; once
// fewer than kSummaryReserve characters remain the marker is appended and composition stops. A
// line too long for the room left is cut so that the marker still fits. Returns the length.
int SummaryComposeLines(DriverContext* ctx, const SummaryLine* lines, int count, WCHAR* text, int capacity);
// Composes the control's text and sets it as the window text when it differs from the current
// one; a multi-line edit gets each backslash-n as CR LF.
void SummaryComposeText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// Composes on the show request (WM_PAINT) of the summary controls; never takes the message.
int SummaryControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                   LPARAM lParam);
