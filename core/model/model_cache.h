// The compiled model description of a printer's driver: kept per process, stored beside the
// data file in a cache file ("BCS") that any deliverable reads or writes.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct ModelImage;
struct ModelImageHeader;
struct ModelRuleIndex;

// Characters of a cache-file name buffer; a data-file path longer than 259 characters has no
// cache file.
constexpr int kModelCacheNameChars = 264;

// The fixed-up compiled image for the context's printer: from the process cache, from a
// cache file that passes its check, or compiled (and then stored when allowed). Null when the
// printer names no data file or it cannot be compiled. The context never frees the image.
ModelImage* ModelLoadImage(DriverContext* ctx);
// Where a load found its image (for zemshost and diagnostics).
enum ModelImageSource : int {
  kModelFromNowhere = 0,       // no image
  kModelFromProcessCache,
  kModelFromCacheFile,
  kModelCompiled,              // compiled; the cache file may have been written
};
ModelImage* ModelLoadImageFrom(DriverContext* ctx, ModelImageSource* source);

// Parses and builds the description; when mayWrite is set and either no context is given or
// its model record's version text equals the description's FileVersion (without case), stores
// the image in the cache file. Returns the fixed-up image (free with MemFree) or null.
ModelImageHeader* ModelCompileDescription(DriverContext* ctx, LPCWSTR path, BOOL mayWrite);
// A private copy of the stored image of the data file's cache file, checked whole; null when
// there is none, it is older than the data file, or it fails any check.
ModelImageHeader* ModelReadCompiledFile(LPCWSTR path);
// Replaces the cache file with the stored image: written to a temporary beside it and renamed
// over it, so readers see the old file or the new one, never a part. Failures are silent.
void ModelWriteCompiledFile(const ModelImageHeader* stored, LPCWSTR path);
void ModelDeleteCompiledFile(LPCWSTR path);
// The cache-file path of a data file: the extension of its file name replaced by "BCS" (a
// name without '.' gets ".BCS"). FALSE when the path is too long for a name.
BOOL ModelMakeCacheFileName(WCHAR* out, LPCWSTR path);
// The temporary a process writes the cache file through (the cache file's name followed by
// ".~zb" and the process id in hex). FALSE when it does not fit cchOut.
BOOL ModelMakeCacheTempName(WCHAR* out, DWORD cchOut, LPCWSTR cacheName);

// The process cache, keyed by the whole data-file path without regard to case.
ModelImageHeader* ModelFindCachedImage(LPCWSTR path);
// Keeps the image for the path and returns the image the cache holds for it: this one, or one
// another thread put there first (this one is then freed). An image whose entry cannot be
// allocated is freed and null returned.
ModelImageHeader* ModelCacheImage(ModelImageHeader* image, LPCWSTR path);
// Frees every cached image of the process (process detach, before the parked contexts that
// point into them are destroyed).
void ModelFreeImageCache();
// The rule index of an image the process cache holds (core/rules/rule_index.h): built at the
// first request under the cache's lock and freed with the image. Null for an image the cache
// does not hold, or when the index cannot be built (a later request tries again).
const ModelRuleIndex* ModelCachedRuleIndex(const ModelImageHeader* image);
// Number of images the process cache holds (diagnostics and tests).
int ModelCachedImageCount();
