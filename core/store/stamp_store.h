// Watermarks kept in the settings ini.
#pragma once

struct DriverContext;

// Selects the chosen watermark again when watermarks are on and its kind is a known one.
void StampReselect(DriverContext* ctx);
