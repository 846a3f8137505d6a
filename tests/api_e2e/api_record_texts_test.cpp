// Texts of status records are read within their arrays: a field that fills its array without a
// terminator is refused with error 11, and nothing past the record's version size is read (each
// record here is exactly that size, so a read beyond it leaves the buffer).
#include <gtest/gtest.h>

#include <string>

#include "api_e2e/api_items_fixture.h"

namespace zems_test {
namespace {

struct TextCase {
  const char* what;
  DWORD id;
  UINT size;
  DWORD version;
  std::vector<std::pair<UINT, LONG>> numbers;
  UINT offset;  // the text field, filled to its end
  UINT length;
};

class RecordTextsTest : public ApiItemsTest {};

TEST_F(RecordTextsTest, AFieldWithoutItsTerminatorIsRefused) {
  StartWithFixture("*OpenUI *TOV_zdmPrnMethod: PickOne", "print_methods_all.zmd");
  const TextCase cases[] = {
      {"merge file name", 10, 392, 1, {{4, 5}, {8, 0x20}}, 65, 65},
      {"overlay path up to the version-1 end", 10, 392, 1, {{4, 7}, {8, 0x40}}, 130, 260},
      {"stored password at the version-2 end", 10, 408, 2, {{4, 3}, {8, 0x100}}, 399, 9},
      {"save password at the version-3 copy", 10, 484, 3, {{4, 9}, {8, 0x800}}, 399, 9},
      {"user ID alone", 26, 392, 1, {}, 12, 9},
      {"settings file path", 1, 824, 1, {}, 4, 260},
      {"watermark text", 16, 372, 1, {{4, 1}, {36, 48}}, 44, 33},
      {"watermark image", 16, 412, 2, {{4, 2}, {36, 100}}, 109, 260},
      {"copy-guard text", 55, 172, 1, {{4, 3}, {136, 64}}, 24, 65},
      {"authentication key", 60, 44, 1, {{4, 2}}, 8, 33},
  };
  for (const TextCase& c : cases) {
    Record r(c.size, c.version);
    for (const auto& n : c.numbers) r.Long(n.first, n.second);
    r.Text(c.offset, std::string(c.length, '7'), false);
    EXPECT_EQ(-1, Set(c.id, r)) << c.what;
    if (c.id != 60) {  // the key of item 60 ends within 32 characters or is refused plainly
      EXPECT_EQ(11, Error()) << c.what;
    }
  }
}

}  // namespace
}  // namespace zems_test
