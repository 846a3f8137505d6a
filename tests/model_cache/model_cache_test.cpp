// The model image cache: where a context's image comes from (process cache, cache file,
// compile), the cache file's check against hand-made and random corruptions, and two
// processes loading one printer at once.
#include <gtest/gtest.h>
#include <stddef.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/context/ui_state.h"
#include "core/items/item_ids.h"
#include "core/model/image_validate.h"
#include "core/model/model_cache.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "model/image_exercise.h"
#include "platform/sim.h"
#include "support/child_process.h"
#include "support/test_printer.h"

namespace {

using Bytes = std::vector<BYTE>;

std::string ReadSource(const std::string& relative) {
  std::ifstream in(zems_test::SourceDir() + "/" + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const char kFolder[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
// A description with one item and no copies item (a header alone is too small to be cached).
const char kTiny[] = "*FileVersion: 6.63\n*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor DMCOLOR_MONO: \"M\"\n*CloseUI\n";

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }
LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

DWORD Get(const Bytes& b, size_t off) {
  DWORD v;
  memcpy(&v, &b[off], 4);
  return v;
}
void Put(Bytes& b, size_t off, DWORD v) { memcpy(&b[off], &v, 4); }

// Stored image of a description, as the cache file would hold it.
Bytes StoredImageOf(const std::string& text) {
  ModelImageHeader* image = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  EXPECT_NE(image, nullptr);
  if (!image) return {};
  Bytes b(reinterpret_cast<BYTE*>(image), reinterpret_cast<BYTE*>(image) + image->totalSize);
  MemFree(image);
  return b;
}

int Validate(const Bytes& b) {
  // An exact-size block, so a read beyond it is caught by the sanitizer.
  BYTE* copy = static_cast<BYTE*>(MemAllocZero(b.size() ? b.size() : 1));
  if (!b.empty()) memcpy(copy, b.data(), b.size());
  int ok = ModelValidateStoredImage(copy, static_cast<DWORD>(b.size()));
  MemFree(copy);
  return ok;
}

class ModelCacheTest : public zems_test::ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    sample_ = ReadSource("samples/models/zems_c4.zmd");
    data_ = Wide(std::string(kFolder) + "OV1BD172.zmd");
    cache_ = Wide(std::string(kFolder) + "OV1BD172.BCS");
  }
  void TearDown() override {
    SimSetDiskFull(-1);
    ModelFreeImageCache();
    // Loads took the machine-wide mutex: close the process's handle while the machine is there.
    LockTermProcess();
    LockInitProcess();
    ContextTest::TearDown();
  }

  std::string Host(const std::u16string& path) const { return zems_test::HostPath(std::string(path.begin(), path.end())); }
  void WriteData(const std::string& text) { ASSERT_TRUE(zems_test::WriteMachineFile(std::string(kFolder) + "OV1BD172.zmd", text)); }
  void WriteCache(const Bytes& b) {
    std::ofstream(Host(cache_), std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(b.data()), b.size());
  }
  Bytes ReadCache() const {
    std::ifstream in(Host(cache_), std::ios::binary);
    if (!in) return {};
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  bool CacheExists() const { return std::filesystem::exists(Host(cache_)); }
  // Sets a file's last-write time to `seconds` after a fixed day.
  void SetTime(const std::u16string& path, int seconds) {
    HANDLE f = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ULONGLONG t = 132223104000000000ULL + static_cast<ULONGLONG>(seconds) * 10000000ULL;
    FILETIME ft = {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    EXPECT_TRUE(SetFileTime(f, nullptr, nullptr, &ft));
    CloseHandle(f);
  }
  ModelImageHeader* Load(HANDLE printer, bool globalMutex = true) {
    zems_test::BareContext b(printer);
    b.ui.useGlobalMutex = globalMutex ? 1 : 0;
    return reinterpret_cast<ModelImageHeader*>(ModelLoadImage(&b.ctx));
  }
  // The full sample has a copies descriptor; the tiny description has none.
  static bool HasCopies(ModelImageHeader* image) {
    DriverContext ctx = {};
    ctx.modelImage = reinterpret_cast<ModelImage*>(image);
    return ModelFindDescriptor(kItem_dmCopies, &ctx) != nullptr;
  }
  bool TemporaryLeft() const {
    for (const auto& e : std::filesystem::directory_iterator(Host(Wide(kFolder))))
      if (e.path().filename().string().find(".~zb") != std::string::npos) return true;
    return false;
  }

  std::string sample_;
  std::u16string data_, cache_;
};

enum After { kUnchanged, kReplacedTiny, kNone };

struct LoadCase {
  const char* what;
  std::string data;                         // the data file's text
  std::function<Bytes(const Bytes&)> cache;  // the cache file from the sample's stored image
  int cacheTime;                            // seconds after the data file's time
  bool fromFile;
  After after;
};

TEST_F(ModelCacheTest, LoadingTable) {
  const Bytes full = StoredImageOf(sample_);
  const Bytes tiny = StoredImageOf(kTiny);
  ASSERT_TRUE(Validate(full));
  ASSERT_TRUE(Validate(tiny));
  auto same = [](const Bytes& b) { return b; };
  auto none = [](const Bytes&) { return Bytes(); };
  const LoadCase cases[] = {
      {"no cache file", kTiny, none, 0, false, kReplacedTiny},
      {"a valid newer cache file is used without a parse", kTiny, same, 10, true, kUnchanged},
      {"equal times are accepted", kTiny, same, 0, true, kUnchanged},
      {"a cache file older than the data file", kTiny, same, -10, false, kReplacedTiny},
      {"7,996 bytes", kTiny,
       [](const Bytes& b) {
         Bytes c(b.begin(), b.begin() + sizeof(ModelImageHeader));
         Put(c, offsetof(ModelImageHeader, totalSize), sizeof(ModelImageHeader));
         return c;
       },
       10, false, kReplacedTiny},
      {"above 64 MB: as large an image as the builder makes is read back", kTiny,
       [](const Bytes& b) {
         Bytes c = b;
         c.resize(64u * 1024 * 1024 + 4096, 0);
         Put(c, offsetof(ModelImageHeader, totalSize), static_cast<DWORD>(c.size()));
         return c;
       },
       10, true, kUnchanged},
      {"size not the total", kTiny, [](const Bytes& b) { Bytes c = b; c.resize(c.size() + 4); return c; }, 10, false,
       kReplacedTiny},
      {"another stored version", kTiny,
       [](const Bytes& b) { Bytes c = b; c[6] = '2'; return c; },  // "6.62"
       10, false, kReplacedTiny},
      {"a data file without FileVersion", "*% no version\n", same, 10, false, kNone},
      {"a data file of another FileVersion", "*FileVersion: 6.50\n", same, 10, false, kNone},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.what);
    ModelFreeImageCache();
    WriteData(c.data);
    SetTime(data_, 1000);
    Bytes written = c.cache(full);
    std::filesystem::remove(Host(cache_));
    if (!written.empty()) {
      WriteCache(written);
      SetTime(cache_, 1000 + c.cacheTime);
    }
    ModelImageHeader* image = Load(office_);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(HasCopies(image), c.fromFile);
    EXPECT_EQ(ModelCachedImageCount(), 1);
    if (c.after == kUnchanged) {
      EXPECT_EQ(ReadCache(), written);
    } else if (c.after == kReplacedTiny) {
      EXPECT_EQ(ReadCache(), tiny);
    } else {
      EXPECT_FALSE(CacheExists());
    }
    EXPECT_FALSE(TemporaryLeft());
    // Compiled again in a fresh process cache, still nothing is written.
    if (c.after == kNone) {
      ModelFreeImageCache();
      ASSERT_NE(Load(office_), nullptr);
      EXPECT_FALSE(CacheExists());
    }
  }
}

TEST_F(ModelCacheTest, TwoPrintersOfOneDataFileShareOneImage) {
  ModelImageHeader* a = Load(office_);
  ModelImageHeader* b = Load(lab_, false);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(ModelCachedImageCount(), 1);
  EXPECT_TRUE(HasCopies(a));
  EXPECT_EQ(ReadCache(), StoredImageOf(sample_));
  ModelFreeImageCache();
  EXPECT_EQ(ModelCachedImageCount(), 0);
  EXPECT_EQ(ModelFindCachedImage(W(data_)), nullptr);
}

TEST_F(ModelCacheTest, ProcessCacheKeysOnTheWholePathWithoutCase) {
  auto block = [] { return static_cast<ModelImageHeader*>(MemAllocZero(sizeof(ModelImageHeader) + 4)); };
  std::u16string one = u"C:\\one\\OV1BD172.zmd", two = u"C:\\two\\OV1BD172.zmd";
  ModelImageHeader* a = ModelCacheImage(block(), W(one));
  ModelImageHeader* b = ModelCacheImage(block(), W(two));
  EXPECT_NE(a, b);
  EXPECT_EQ(ModelFindCachedImage(W(u"c:\\ONE\\ov1bd172.ZMD")), a);
  EXPECT_EQ(ModelFindCachedImage(W(two)), b);
  // A second image for a path already cached gives way to the first.
  EXPECT_EQ(ModelCacheImage(block(), W(u"C:\\TWO\\OV1BD172.zmd")), b);
  EXPECT_EQ(ModelCachedImageCount(), 2);
  EXPECT_EQ(ModelFindCachedImage(W(u"C:\\three\\OV1BD172.zmd")), nullptr);
  // Without room for its entry the image is freed (nothing else would), not handed out.
  for (int fail : {0, 1}) {
    ModelImageHeader* image = block();
    SimFailAllocations(fail);
    EXPECT_EQ(ModelCacheImage(image, W(u"C:\\four\\OV1BD172.zmd")), nullptr) << fail;
    SimFailAllocations(-1);
  }
  EXPECT_EQ(ModelCachedImageCount(), 2);
}

TEST(ModelCacheFileName, OnlyTheFileNamesDotCounts) {
  struct Case { std::u16string path, name; bool ok; } cases[] = {
      {u"C:\\a\\zems_c4.zmd", u"C:\\a\\zems_c4.BCS", true},
      {u"C:\\a.b\\zems", u"C:\\a.b\\zems.BCS", true},
      {u"C:\\a\\x.y.zmd", u"C:\\a\\x.y.BCS", true},
      {u"C:\\a\\zems.", u"C:\\a\\zems.BCS", true},
      {u"zems", u"zems.BCS", true},
      {u"C:\\" + std::u16string(256, u'x'), u"C:\\" + std::u16string(256, u'x') + u".BCS", true},  // 259
      {u"C:\\" + std::u16string(257, u'x'), u"", false},                                         // 260
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
    WCHAR out[kModelCacheNameChars];
    EXPECT_EQ(ModelMakeCacheFileName(out, W(c.path)), c.ok ? TRUE : FALSE);
    if (c.ok) {
      EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(out)), c.name);
    }
  }
  EXPECT_EQ(ModelReadCompiledFile(W(u"C:\\" + std::u16string(257, u'x'))), nullptr);
}

// A compile whose cache-file write runs out of disk part-way: the old file stays whole, no
// temporary is left, the context still gets the fresh image, and once there is room again the
// next load writes the new file.
TEST_F(ModelCacheTest, AWriteThatRunsOutOfDiskKeepsTheOldFile) {
  const Bytes full = StoredImageOf(sample_);
  const Bytes old = StoredImageOf(kTiny);
  ASSERT_TRUE(Validate(old));
  ASSERT_GT(full.size(), old.size());
  const struct {
    const char* what;
    long long budget;
  } cases[] = {
      {"no room at all", 0},
      {"one byte", 1},
      {"half the image", static_cast<long long>(full.size() / 2)},
      {"one byte short", static_cast<long long>(full.size()) - 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ModelFreeImageCache();
    SimSetDiskFull(-1);
    // A valid file of an earlier data file: the newer data file is compiled and replaces it.
    WriteCache(old);
    SetTime(cache_, 500);
    SetTime(data_, 1000);
    SimSetDiskFull(c.budget);
    ModelImageSource source = kModelFromNowhere;
    zems_test::BareContext b(office_);
    ModelImageHeader* image = reinterpret_cast<ModelImageHeader*>(ModelLoadImageFrom(&b.ctx, &source));
    SimSetDiskFull(-1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(source, kModelCompiled);
    EXPECT_TRUE(HasCopies(image)) << "the fresh image, not the old file's";
    const Bytes kept = ReadCache();
    EXPECT_EQ(kept, old);
    EXPECT_TRUE(Validate(kept));
    EXPECT_FALSE(TemporaryLeft());

    ModelFreeImageCache();
    image = Load(office_);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(HasCopies(image));
    EXPECT_EQ(ReadCache(), full);
    EXPECT_FALSE(TemporaryLeft());
  }
}

// ---- corruptions ----

struct Image {
  Bytes b;
  size_t Header(size_t field) const { return Get(b, field); }
  // The stored offset of the n-th descriptor along the list.
  size_t Descriptor(int n) const {
    size_t at = Get(b, offsetof(ModelImageHeader, descriptors));
    while (n-- > 0 && at) at = Get(b, at);
    return at;
  }
  size_t DescriptorOfItem(WORD id) const {
    for (size_t at = Get(b, offsetof(ModelImageHeader, descriptors)); at; at = Get(b, at)) {
      WORD item;
      memcpy(&item, &b[at + offsetof(ModelItemDescriptor, itemId)], 2);
      if (item == id) return at;
    }
    return 0;
  }
  size_t Exclusive(int n) const { return Header(offsetof(ModelImageHeader, exclusives)) + n * sizeof(ExclusiveRecord); }
  // The first Exclusive record with value rules, and the offset of its first rule.
  size_t FirstValueRule(size_t* exclusive) const {
    for (int i = 0;; ++i) {
      size_t x = Exclusive(i);
      DWORD link = Get(b, x + offsetof(ExclusiveRecord, valueRules));
      if (link) {
        *exclusive = x;
        return link >> 4;
      }
      if (!Get(b, x)) return 0;
    }
  }
  size_t FirstJudge(size_t* field) const {
    for (int i = 0;; ++i) {
      size_t x = Exclusive(i);
      if (Get(b, x + offsetof(ExclusiveRecord, judgeDisabled))) {
        *field = x + offsetof(ExclusiveRecord, judgeDisabled);
        return Get(b, *field) >> 4;
      }
      if (!Get(b, x)) return 0;
    }
  }
  size_t FirstNode() const {
    size_t block = Header(offsetof(ModelImageHeader, jobStart));
    return Get(b, block + offsetof(CommandBlock, thenList));
  }
};

struct Corruption {
  const char* what;
  std::function<void(Image&)> apply;
};

TEST_F(ModelCacheTest, HandMadeCorruptionsAreRefusedAndReplaced) {
  const Bytes full = StoredImageOf(sample_);
  const Corruption cases[] = {
      {"total not the size", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, totalSize), m.b.size() - 4); }},
      {"version text without end", [](Image& m) { for (int i = 0; i < 32; i += 2) m.b[i] = '6'; }},
      {"link beyond the block", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, descriptors), m.b.size()); }},
      {"record without room", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, descriptors), m.b.size() - 12); }},
      {"record off its alignment", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, descriptors), m.Descriptor(0) + 2); }},
      {"link into the header", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, descriptors), 40); }},
      {"text inside the header", [](Image& m) {
         // An empty slot reads as an empty text: only the header's own bytes refuse it.
         size_t empty = offsetof(ModelImageHeader, slotsExt);
         while (Get(m.b, empty)) empty += 4;
         size_t pair = Get(m.b, m.DescriptorOfItem(kItem_dmCopies) + offsetof(ModelItemDescriptor, commands));
         Put(m.b, pair, static_cast<DWORD>(empty));
       }},
      {"rules link even", [](Image& m) { size_t f = 0; size_t j = m.FirstJudge(&f); Put(m.b, f, static_cast<DWORD>(j * 16)); }},
      {"rules offset not a multiple of 4", [](Image& m) { size_t f = 0; size_t j = m.FirstJudge(&f); Put(m.b, f, static_cast<DWORD>((j + 2) * 16 + 1)); }},
      {"judge without end", [](Image& m) {
         for (size_t at = sizeof(ModelImageHeader); at + 4 <= m.b.size(); at += 4)
           if (Get(m.b, at) == (kJudgeOperator | (kJudgeOpEnd << 16))) Put(m.b, at, kJudgeOperator | (kJudgeOpAnd << 16));
       }},
      {"judge the validation refuses", [](Image& m) { size_t f = 0; size_t j = m.FirstJudge(&f); Put(m.b, j, kJudgeOperator | (kJudgeOpEnd << 16)); }},
      {"text without end", [](Image& m) {
         Put(m.b, offsetof(ModelImageHeader, uiResDllName), m.b.size() - 2);
         m.b[m.b.size() - 2] = 'x';
         m.b[m.b.size() - 1] = 0x30;
       }},
      {"wide text off its alignment", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, uiResDllName), m.Header(offsetof(ModelImageHeader, uiResDllName)) + 1); }},
      {"negative count", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, deviceFontCount), 0xFFFFFFFF); }},
      {"array that does not fit", [](Image& m) { Put(m.b, offsetof(ModelImageHeader, deviceFontCount), 0x3FFFFFFF); }},
      {"type word the parser never makes", [](Image& m) { m.b[m.Descriptor(0) + offsetof(ModelItemDescriptor, type) + 1] = 0x80; }},
      {"value link on a type without records", [](Image& m) {
         size_t d = m.DescriptorOfItem(kItem_dmCopies);
         m.b[d + offsetof(ModelItemDescriptor, type)] = 0x20;
       }},
      {"slot naming another item's descriptor", [](Image& m) {
         Put(m.b, offsetof(ModelImageHeader, slotsLow) + (kItem_dmCopies - 1) * 4, static_cast<DWORD>(m.DescriptorOfItem(kItem_dmColor)));
       }},
      {"slot naming no descriptor", [](Image& m) {
         Put(m.b, offsetof(ModelImageHeader, slotsLow) + (kItem_dmCopies - 1) * 4, static_cast<DWORD>(m.Exclusive(0)));
       }},
      {"Identity value link not a base's", [](Image& m) {
         size_t d = m.DescriptorOfItem(kItem_dmYResolution);
         Put(m.b, d + offsetof(ModelItemDescriptor, values), Get(m.b, m.DescriptorOfItem(kItem_dmCopies) + offsetof(ModelItemDescriptor, values)));
       }},
      {"Exclusive link between records", [](Image& m) {
         size_t d = m.DescriptorOfItem(kItem_dmPaperSize);
         Put(m.b, d + offsetof(ModelItemDescriptor, exclusive), static_cast<DWORD>(m.Exclusive(0) + 4));
       }},
      {"Exclusive records not consecutive", [](Image& m) { Put(m.b, m.Exclusive(0), static_cast<DWORD>(m.Exclusive(2))); }},
      {"node of an unknown kind", [](Image& m) { m.b[m.FirstNode() + offsetof(CommandNode, kind)] = 5; }},
      {"value rules looping", [](Image& m) { size_t x = 0; size_t r = m.FirstValueRule(&x); Put(m.b, r, static_cast<DWORD>(r * 16 + 1)); }},
      {"descriptor list looping", [](Image& m) {
         size_t last = m.Descriptor(0);
         while (Get(m.b, last)) last = Get(m.b, last);
         Put(m.b, last, static_cast<DWORD>(m.Descriptor(0)));
       }},
      {"two descriptors sharing a command pair", [](Image& m) {
         size_t a = m.DescriptorOfItem(kItem_dmCopies), c = m.DescriptorOfItem(kItem_dmColor);
         Put(m.b, c + offsetof(ModelItemDescriptor, commands), Get(m.b, a + offsetof(ModelItemDescriptor, commands)));
       }},
      {"two bases sharing value records", [](Image& m) {
         size_t a = m.DescriptorOfItem(kItem_zdmPaperFreeSizeWidth), c = m.DescriptorOfItem(kItem_dmCopies);
         Put(m.b, c + offsetof(ModelItemDescriptor, values), Get(m.b, a + offsetof(ModelItemDescriptor, values)));
       }},
      {"a text on a judge's start", [](Image& m) {
         size_t f = 0;
         size_t j = m.FirstJudge(&f);
         size_t pair = Get(m.b, m.DescriptorOfItem(kItem_dmCopies) + offsetof(ModelItemDescriptor, commands));
         Put(m.b, pair, static_cast<DWORD>(j));
       }},
      {"a record inside a text", [](Image& m) {
         size_t d = m.DescriptorOfItem(kItem_dmCopies);
         size_t pair = Get(m.b, d + offsetof(ModelItemDescriptor, commands));
         Put(m.b, pair + 4, Get(m.b, pair) + 1);
         Put(m.b, d + offsetof(ModelItemDescriptor, values), Get(m.b, pair) & ~3u);
       }},
  };
  for (const Corruption& c : cases) {
    SCOPED_TRACE(c.what);
    Image m{full};
    c.apply(m);
    ASSERT_NE(m.b, full) << "the corruption changed nothing";
    EXPECT_EQ(Validate(m.b), 0);
    ModelFreeImageCache();
    WriteCache(m.b);
    SetTime(data_, 1000);
    SetTime(cache_, 2000);
    ModelImageHeader* image = Load(office_);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(HasCopies(image));
    EXPECT_EQ(ReadCache(), full) << "replaced by a fresh compile";
  }
}

// The check keeps its bookkeeping for the process; checks on other threads at the same time
// each get their own, so each still answers for its own image.
TEST(ModelCacheCheck, ChecksOnSeveralThreadsAtOnceAnswerForTheirOwnImage) {
  const Bytes good = StoredImageOf(ReadSource("samples/models/zems_c4.zmd"));
  Image looping{good};
  size_t exclusive = 0;
  const size_t rule = looping.FirstValueRule(&exclusive);
  ASSERT_NE(rule, 0u);
  Put(looping.b, rule, static_cast<DWORD>(rule * 16 + 1));
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        const bool refused = (i + t) % 2 == 1;
        if (Validate(refused ? looping.b : good) != (refused ? 0 : 1)) ++wrong;
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

// Random changes of valid images: whatever passes the check is fixed up and read through every
// lookup and judge (the sanitizer flavour catches a read outside the block).
TEST(ModelCacheMutation, WhatPassesTheCheckCanBeReadWhole) {
  std::vector<std::string> texts = {ReadSource("samples/models/zems_c4.zmd")};
  for (const char* f : {"image_golden.zmd", "rule_actions.zmd", "rule_alerts.zmd", "rule_exclusive.zmd", "rule_references.zmd"})
    texts.push_back(ReadSource(std::string("tests/fixtures/model/") + f));
  zems_test::BareContext bare;
  bare.ctx.items = ItemTableCreate();
  ASSERT_EQ(ModelAllocEvalStack(&bare.ctx), 0);
  std::mt19937 rng(20261210);
  int passed = 0;
  for (const std::string& text : texts) {
    const Bytes valid = StoredImageOf(text);
    ASSERT_TRUE(Validate(valid));
    for (int round = 0; round < 300; ++round) {
      Bytes b = valid;
      int changes = 1 + static_cast<int>(rng() % 3);
      for (int i = 0; i < changes; ++i) {
        size_t at = rng() % b.size();
        switch (rng() % 4) {
          case 0: b[at] = static_cast<BYTE>(rng()); break;
          case 1: b[at] ^= static_cast<BYTE>(1u << (rng() % 8)); break;
          case 2: if (at + 4 <= b.size()) Put(b, at & ~3u, static_cast<DWORD>(rng() % b.size())); break;
          default: if (at + 4 <= b.size()) Put(b, at & ~3u, 0); break;
        }
      }
      BYTE* copy = static_cast<BYTE*>(MemAllocZero(b.size()));
      memcpy(copy, b.data(), b.size());
      if (ModelValidateStoredImage(copy, static_cast<DWORD>(b.size()))) {
        ++passed;
        ModelImageHeader* image = reinterpret_cast<ModelImageHeader*>(copy);
        ModelFixUpImage(image);
        model_test::ExerciseImage(image, &bare.ctx);
      }
      MemFree(copy);
    }
  }
  EXPECT_GT(passed, 0) << "some changes (texts, numbers) keep an image valid";
  ModelFreeEvalStack(&bare.ctx);
  ItemTableFree(bare.ctx.items);
}

// Two processes load one printer at once, many rounds, each from a fresh process cache and
// with the cache file deleted now and then: every load is whole, the file ends valid and no
// temporary is left. Without the global mutex the two may compile and replace at once.
TEST_F(ModelCacheTest, TwoProcessesLoadingOnePrinter) {
  const Bytes full = StoredImageOf(sample_);
  for (bool mutex : {true, false}) {
    SCOPED_TRACE(mutex ? "with the global mutex" : "without it");
    std::filesystem::remove(Host(cache_));
    auto rounds = [&](int seed) {
      int bad = 0;
      for (int i = 0; i < 40; ++i) {
        ModelFreeImageCache();
        if ((i + seed) % 7 == 0) ModelDeleteCompiledFile(W(data_));
        ModelImageHeader* image = Load(office_, mutex);
        if (!image || !HasCopies(image)) ++bad;
      }
      return bad;
    };
    zems_test::ChildProcess child([&](zems_test::ChildProcess& self) {
      char go;
      if (!self.Receive(&go)) _exit(2);
      _exit(rounds(3) == 0 ? 0 : 1);
    });
    ASSERT_TRUE(child.Send('g'));
    EXPECT_EQ(rounds(0), 0);
    EXPECT_EQ(child.Wait(), 0);
    Bytes after = ReadCache();
    if (!after.empty()) {
      EXPECT_EQ(after, full);
    }
    EXPECT_FALSE(TemporaryLeft());
  }
}

}  // namespace
