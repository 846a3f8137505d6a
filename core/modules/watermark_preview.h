// The watermark and copy-protect previews drawn over the page picture of an option picture: the
// watermark module's answer to the page-picture event. Each renders into an off-screen bitmap of
// the page and copies it onto the picture's DC; every object it makes is selected out and
// deleted before it returns.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/ctl_simple.h"

// The watermark of the settings (text or image) on a picture with the watermark item record,
// while watermarks are on.
void CtlDrawWatermarkPreview(DriverContext* ctx, const CtlPagePictureEvent* event);
// The copy protection on the printed (2931) and copied (2943) pictures, while it is on.
void CtlDrawCopyProtectPreview(DriverContext* ctx, const CtlPagePictureEvent* event);
