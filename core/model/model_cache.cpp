// The model image cache: per process, then the cache file beside the data file, then a fresh
// compile. A cache file is read into a private copy and checked whole before the fix-up
// follows any of its links; one that fails is treated as missing and replaced.
#include "core/model/model_cache.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/model/image_validate.h"
#include "core/model/model_image.h"
#include "core/model/model_reader.h"
#include "core/rules/rule_index.h"
#include "core/tables/model_record.h"

namespace {

struct CacheNode {
  CacheNode* next;
  ModelImageHeader* image;
  WCHAR* key;  // the whole data-file path
  ModelRuleIndex* ruleIndex;  // built at the first request, freed with the image
};

// Contexts opened without the global mutex load unguarded, so the list has a lock of its own.
struct ImageCache {
  CRITICAL_SECTION lock;
  BOOL ready;
  CacheNode* first;
  int count;
  ImageCache() { ready = InitializeCriticalSectionAndSpinCount(&lock, 0); first = nullptr; count = 0; }
  ~ImageCache() {
    if (ready) DeleteCriticalSection(&lock);
  }
  void Enter() {
    if (ready) EnterCriticalSection(&lock);
  }
  void Leave() {
    if (ready) LeaveCriticalSection(&lock);
  }
};

ImageCache& Cache() {
  static ImageCache cache;
  return cache;
}

// The keys differ from each other without regard to case, so a key equal unit for unit is the
// one a comparison without case finds; a process asks with the path it cached, so that pass
// usually answers before any case folding.
CacheNode* FindLocked(LPCWSTR path) {
  for (CacheNode* n = Cache().first; n; n = n->next)
    if (StrWideEqual(n->key, path)) return n;
  for (CacheNode* n = Cache().first; n; n = n->next)
    if (lstrcmpiW(n->key, path) == 0) return n;
  return nullptr;
}

bool SameVersion(const WCHAR* a, const WCHAR* b) { return a && b && lstrcmpiW(a, b) == 0; }

// Last-write time of a file opened for shared reading.
HANDLE OpenShared(LPCWSTR path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

BOOL ModelMakeCacheFileName(WCHAR* out, LPCWSTR path) {
  if (!out || !path) return FALSE;
  out[0] = 0;
  DWORD length = lstrlenW(path);
  if (length > 259) return FALSE;
  // Only a '.' of the file name counts: a dotted folder keeps its name.
  DWORD nameStart = 0;
  for (DWORD i = 0; i < length; ++i)
    if (path[i] == L'\\' || path[i] == L'/' || path[i] == L':') nameStart = i + 1;
  DWORD stem = length;
  for (DWORD i = length; i > nameStart; --i) {
    if (path[i - 1] == L'.') {
      stem = i - 1;
      break;
    }
  }
  memcpy(out, path, stem * sizeof(WCHAR));
  static const WCHAR kExtension[] = {L'.', L'B', L'C', L'S', 0};
  memcpy(out + stem, kExtension, sizeof(kExtension));
  return TRUE;
}

BOOL ModelMakeCacheTempName(WCHAR* out, DWORD cchOut, LPCWSTR cacheName) {
  if (!out || !cacheName || cchOut == 0) return FALSE;
  WCHAR suffix[16] = {L'.', L'~', L'z', L'b'};
  DWORD pid = GetCurrentProcessId();
  int at = 4;
  for (int shift = 28; shift >= 0; shift -= 4) suffix[at++] = L"0123456789abcdef"[(pid >> shift) & 15];
  suffix[at] = 0;
  DWORD length = lstrlenW(cacheName);
  if (length + at + 1 > cchOut) return FALSE;
  memcpy(out, cacheName, length * sizeof(WCHAR));
  memcpy(out + length, suffix, (at + 1) * sizeof(WCHAR));
  return TRUE;
}

ModelImageHeader* ModelReadCompiledFile(LPCWSTR path) {
  WCHAR name[kModelCacheNameChars];
  if (!ModelMakeCacheFileName(name, path)) return nullptr;
  HANDLE data = OpenShared(path);
  if (data == INVALID_HANDLE_VALUE) return nullptr;
  HANDLE cache = OpenShared(name);
  if (cache == INVALID_HANDLE_VALUE) {
    CloseHandle(data);
    return nullptr;
  }
  ModelImageHeader* image = nullptr;
  FILETIME dataTime, cacheTime;
  DWORD high = 0;
  DWORD size = 0;
  if (GetFileTime(data, nullptr, nullptr, &dataTime) && GetFileTime(cache, nullptr, nullptr, &cacheTime) &&
      CompareFileTime(&cacheTime, &dataTime) >= 0) {
    size = GetFileSize(cache, &high);
    // The cap comes before the allocation: the size is whatever the file claims.
    if (size != INVALID_FILE_SIZE && high == 0 && size > sizeof(ModelImageHeader) && size <= kModelCacheMaxSize)
      // Not zeroed: the read fills every byte, or the block is dropped.
      image = static_cast<ModelImageHeader*>(GlobalAlloc(GMEM_FIXED, size));
  }
  if (image) {
    DWORD read = 0;
    if (!ReadFile(cache, image, size, &read, nullptr) || read != size || image->totalSize != size ||
        !ModelValidateStoredImage(reinterpret_cast<const BYTE*>(image), size)) {
      MemFree(image);
      image = nullptr;
    }
  }
  CloseHandle(cache);
  CloseHandle(data);
  return image;
}

void ModelWriteCompiledFile(const ModelImageHeader* stored, LPCWSTR path) {
  WCHAR name[kModelCacheNameChars];
  WCHAR temp[kModelCacheNameChars + 16];
  if (!stored || !ModelMakeCacheFileName(name, path) || !ModelMakeCacheTempName(temp, sizeof(temp) / sizeof(WCHAR), name))
    return;
  HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  BOOL whole = WriteFile(file, stored, stored->totalSize, &written, nullptr) && written == stored->totalSize;
  whole = CloseHandle(file) && whole;
  // A cache file in use cannot be replaced: the old one stays, which the next load checks.
  if (!whole || !MoveFileExW(temp, name, MOVEFILE_REPLACE_EXISTING)) DeleteFileW(temp);
}

void ModelDeleteCompiledFile(LPCWSTR path) {
  WCHAR name[kModelCacheNameChars];
  if (ModelMakeCacheFileName(name, path)) DeleteFileW(name);
}

ModelImageHeader* ModelCompileDescription(DriverContext* ctx, LPCWSTR path, BOOL mayWrite) {
  ModelImageHeader* image = ModelCompileDescription(path);
  if (!image) return nullptr;
  if (mayWrite && (!ctx || SameVersion(CtxModelRecord(ctx)->modelVersion, image->fileVersion)))
    ModelWriteCompiledFile(image, path);
  ModelFixUpImage(image);
  return image;
}

ModelImageHeader* ModelFindCachedImage(LPCWSTR path) {
  if (!path) return nullptr;
  ImageCache& cache = Cache();
  cache.Enter();
  CacheNode* node = FindLocked(path);
  ModelImageHeader* image = node ? node->image : nullptr;
  cache.Leave();
  return image;
}

ModelImageHeader* ModelCacheImage(ModelImageHeader* image, LPCWSTR path) {
  if (!image || !path) return image;
  ImageCache& cache = Cache();
  if (!cache.ready) return image;
  DWORD length = lstrlenW(path);
  CacheNode* node = static_cast<CacheNode*>(MemAllocZero(sizeof(CacheNode)));
  WCHAR* key = static_cast<WCHAR*>(MemAllocZero((length + 1) * sizeof(WCHAR)));
  // Nothing would free an image the cache does not hold: without room for its entry it goes,
  // and the load fails as any other allocation does.
  if (!node || !key) {
    MemFree(node);
    MemFree(key);
    MemFree(image);
    return nullptr;
  }
  memcpy(key, path, length * sizeof(WCHAR));
  cache.Enter();
  if (CacheNode* other = FindLocked(path)) {
    ModelImageHeader* kept = other->image;
    cache.Leave();
    MemFree(node);
    MemFree(key);
    MemFree(image);
    return kept;
  }
  node->image = image;
  node->key = key;
  node->next = cache.first;
  cache.first = node;
  ++cache.count;
  cache.Leave();
  return image;
}

void ModelFreeImageCache() {
  ImageCache& cache = Cache();
  cache.Enter();
  CacheNode* n = cache.first;
  cache.first = nullptr;
  cache.count = 0;
  cache.Leave();
  while (n) {
    CacheNode* next = n->next;
    RuleIndexFree(n->ruleIndex);
    MemFree(n->image);
    MemFree(n->key);
    MemFree(n);
    n = next;
  }
}

const ModelRuleIndex* ModelCachedRuleIndex(const ModelImageHeader* image) {
  if (!image) return nullptr;
  ImageCache& cache = Cache();
  cache.Enter();
  CacheNode* node = Cache().first;
  while (node && node->image != image) node = node->next;
  // Built under the lock, so two threads never build one twice; the build reads only the
  // image, which nothing changes once it is cached.
  if (node && !node->ruleIndex) node->ruleIndex = RuleIndexBuild(image);
  const ModelRuleIndex* index = node ? node->ruleIndex : nullptr;
  cache.Leave();
  return index;
}

int ModelCachedImageCount() {
  ImageCache& cache = Cache();
  cache.Enter();
  int count = cache.count;
  cache.Leave();
  return count;
}

ModelImage* ModelLoadImage(DriverContext* ctx) { return ModelLoadImageFrom(ctx, nullptr); }

ModelImage* ModelLoadImageFrom(DriverContext* ctx, ModelImageSource* source) {
  ModelImageSource found = kModelFromNowhere;
  if (!source) source = &found;
  *source = kModelFromNowhere;
  if (!ctx) return nullptr;
  LPWSTR path = ModelGetDataFilePath(ctx->printer);
  if (!path) return nullptr;
  ModelImageHeader* image = ModelFindCachedImage(path);
  if (image) {
    *source = kModelFromProcessCache;
    MemFree(path);
    return reinterpret_cast<ModelImage*>(image);
  }
  CtxLockGlobalMutex(ctx);
  // Another process may have written the cache file while this one waited, and another thread
  // of this one cached the image.
  image = ModelFindCachedImage(path);
  if (image) *source = kModelFromProcessCache;
  if (!image) {
    BOOL mayWrite = TRUE;
    ModelImageHeader* stored = ModelReadCompiledFile(path);
    if (stored) {
      WCHAR version[16] = {};
      ModelScanFileVersion(path, version);
      if (!SameVersion(CtxModelRecord(ctx)->modelVersion, version)) mayWrite = FALSE;
      if (mayWrite && SameVersion(stored->fileVersion, version)) {
        ModelFixUpImage(stored);
        image = stored;
        *source = kModelFromCacheFile;
      } else {
        MemFree(stored);
        ModelDeleteCompiledFile(path);
      }
    }
    if (!image) {
      image = ModelCompileDescription(ctx, path, mayWrite);
      if (image) *source = kModelCompiled;
    }
    image = ModelCacheImage(image, path);
  }
  CtxUnlockGlobalMutex(ctx);
  MemFree(path);
  return reinterpret_cast<ModelImage*>(image);
}
