// Integer geometry of text: lengths and angles of the font transform in whole dots and
// degrees, and 16-bit sines for placing cells along a rotated baseline. Everything computes in
// 64 bits; float products are clamped to the int32 range before they are truncated.
#pragma once
#include "platform/ddi.h"
#include "platform/win32.h"

// v within the int32 range.
LONG FontClamp32(long long v);
// m x v in single precision, truncated toward zero (clamped to the int32 range).
LONG FontScale(FLOAT m, LONG v);
// The smallest m >= max(|a|, |b|) with m * m >= a * a + b * b.
LONG FontHypot(LONG a, LONG b);
// The length of (a, b) scaled by v, each component rounded to whole dots first.
LONG FontLength(FLOAT a, FLOAT b, LONG v);
// The direction of (x, y) in whole degrees, -180 to 180.
LONG FontAngle(SHORT x, SHORT y);
// The greatest k (0 to 449) whose tangent entry tan(k / 10 degrees) x 32767 is below value, 0
// when none.
LONG FontTangentSearch(LONG value);
// sin and cos of whole degrees n >= 0, times 16384.
LONG FontSin16(LONG n);
LONG FontCos16(LONG n);

// The sizes of one text call in dots, from the font's notional-to-device transform and its
// metrics: em width W and height H, ascent A, descent D, average width, the leading A + D - H
// (never below 0) and the baseline's rotation (degrees counter-clockwise, 0 to 359).
struct FontCallSizes {
  LONG width;
  LONG height;
  LONG ascent;
  LONG descent;
  LONG averageWidth;
  LONG leading;
  LONG rotation;
};
void FontCallGeometry(const XFORML& xform, const IFIMETRICS& ifi, FontCallSizes* sizes);
// The baseline's rotation: 0 when angle(x, y) is 0, else 360 - angle (taken modulo 360, so a
// baseline turned counter-clockwise on the page reads as its angle), with x and y the 16-bit
// values of scale(eM11, 5000) and scale(eM12, 5000), both halved together until they fit.
LONG FontRotation(const XFORML& xform);
// A mirrored transform: scale(eM11, 5000) and scale(eM22, 5000) non-zero with opposite signs.
BOOL FontMirrored(const XFORML& xform);

// The tables, as data: tan(k / 10 degrees) x 32767 for k = 0 to 449 and sin(k degrees) x 16384
// for k = 0 to 90, rounded.
extern const LONG kFontTangents[450];
extern const LONG kFontQuarterSines[91];
