// Controls of the context's dialog pages.
#pragma once
#include "core/engine/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// The control with this id on the page, or with a null page on all pages in table order.
DlgControlRecord* CtlFind(DriverContext* ctx, DlgPageRecord* page, WORD control_id);
