// Geometry shared by the drawing calls: path records, outline data, line styles, the clip
// records with their cache and the span fill of very complex clips.
#pragma once
#include "gr2k/draw_state.h"
#include "gr2k/pdev.h"

// Path kinds of records 17 and 18.
enum : BYTE {
  kPathStroke = 0,
  kPathFillAlternate = 1,
  kPathFillWinding = 2,
  kPathStrokeFillAlternate = 3,
  kPathStrokeFillWinding = 4,
  kPathClip = 5,
};

// Paths of more curves than this go to the engine when the PDEV's wide-line switch is on.
constexpr ULONG kPathCurvesLimit = 5000;
// Entries of one span record.
constexpr DWORD kSpanEntries = 2000;

// Records 17 and 18 of the path (one per sub-path for a stroke of several sub-paths with a
// closed one); the first record, or NULL when nothing could be written: a malformed path (a
// Bezier batch not a multiple of 3, a sub-path without a start point, an empty last batch) or
// no memory. The record is sized from the path's own points, whatever cCurves claims.
BYTE* GrSendPath(GraphicsPdev* pdev, PATHOBJ* path, BYTE kind);
// The path's point data (size word and sub-paths) with every point moved by (dx, dy), into
// buffer of cbBuffer bytes; its size (a multiple of 4) or 0 when malformed or it does not fit.
// closed reports a closed sub-path.
DWORD GrEncodeOutline(GraphicsPdev* pdev, PATHOBJ* path, BOOL* closed, BYTE* buffer, DWORD cbBuffer, LONG dx,
                      LONG dy);
// The line attributes of a LINEATTRS; geometric tells whether the line is geometric. FALSE
// when a geometric line cannot be drawn so (the engine then breaks it down).
BOOL RopLineStyle(GraphicsPdev* pdev, const LINEATTRS* la, ULONG colour, XFORMOBJ* xform, LineState* line,
                  BOOL* geometric);
// The clip of a drawing call as records, through the clip cache: -1 when a record could not
// be written (the call then fails rather than draw unclipped), else 0 or the clip record.
LONG_PTR GrClipToRecords(GraphicsPdev* pdev, CLIPOBJ* clip);
// The clip's rectangles, cut to the target rectangle, as scan-line spans (records 19); the
// list always ends with its closing record. The last record, or NULL when there were no spans
// or (failed set) a record could not be written.
BYTE* GrSendSpans(PdevOutputStream* stream, CLIPOBJ* clip, const RECTL* target, BOOL* failed);
// FALSE when the wide-line switch is on and the path has more than 5000 curves.
BOOL GrPathSmallEnough(const GraphicsPdev* pdev, const PATHOBJ* path);
