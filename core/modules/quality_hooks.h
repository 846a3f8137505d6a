// The print-quality module's answers to the judges, and the argument records of its events.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct DlgControlRecord;

// Value of the quality module's judge-hook items: 1292 no user profile is selected, 1293 the
// profile list is full, 1294 the profile file is valid (in the builds without windows: 1,
// no file is opened); other ids 0.
int CmmAnswerJudgeHook(DriverContext* ctx, WORD id);
// The items CmmAnswerJudgeHook reads for the id: up to cap ids into inputs; the count, or -1
// when there are more than cap.
int CmmJudgeHookInputs(WORD id, WORD* inputs, int cap);

// Event 56: the picture layer of an option picture's value (0xFFFF none).
struct QualityLayerEvent {
  DlgControlRecord* control;
  DWORD value;
  DWORD layer;
};
// Event 58: whether a scroll bar is one of the module's.
struct QualityScrollEvent {
  DlgControlRecord* control;
  DWORD flag;
};
