// DevQueryPrintEx on the installed sample printer: the job's paper matched against the form
// database and written back into the job's DEVMODE, and the answers of the check.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "front_exports/front_fixture.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

class JobCheckTest : public FrontTest {
 protected:
  void SetUp() override {
    FrontTest::SetUp();
    job_ = DriverDefault();
    ASSERT_EQ(job_.size(), 1236u);
  }
  DEVMODEW* Job() { return reinterpret_cast<DEVMODEW*>(job_.data()); }
  BOOL Check() {
    DEVQUERYPRINT_INFO query = {};
    query.cbSize = sizeof query;
    query.Level = 1;
    query.hPrinter = printer_;
    query.pDevMode = Job();
    return DevQueryPrintEx(&query);
  }
  std::vector<BYTE> job_;
};

TEST_F(JobCheckTest, WithoutRecordOrDevmode) {
  EXPECT_FALSE(DevQueryPrintEx(nullptr));
  DEVQUERYPRINT_INFO query = {};
  query.cbSize = sizeof query;
  query.hPrinter = printer_;
  EXPECT_TRUE(DevQueryPrintEx(&query)) << "a job without DEVMODE is accepted";
}

TEST_F(JobCheckTest, ACustomSizeWithinOneMillimetreTakesTheForm) {
  Job()->dmFields = (Job()->dmFields | DM_PAPERLENGTH | DM_PAPERWIDTH) & ~DWORD(DM_FORMNAME);
  Job()->dmPaperWidth = 2105;
  Job()->dmPaperLength = 2961;
  Job()->dmPaperSize = 256;
  EXPECT_TRUE(Check());
  EXPECT_EQ(Job()->dmPaperSize, 9) << "A4 is the ninth form";
  EXPECT_EQ(Job()->dmPaperWidth, 2100);
  EXPECT_EQ(Job()->dmPaperLength, 2970);
  EXPECT_NE(Job()->dmFields & DM_FORMNAME, 0u);
  EXPECT_EQ(std::u16string(Job()->dmFormName), u"A4");
}

TEST_F(JobCheckTest, UnmatchedJobsKeepTheirDevmode) {
  const struct {
    const char* what;
    DWORD fields;
    short paperSize, width, length;
  } cases[] = {
      {"index beyond the forms", DM_PAPERSIZE, 99, 0, 0},
      {"index 0", DM_PAPERSIZE, 0, 0, 0},
      {"a custom size no form has", DM_PAPERLENGTH | DM_PAPERWIDTH, 256, 1234, 1777},
  };
  for (const auto& c : cases) {
    job_ = DriverDefault();
    Job()->dmFields = (Job()->dmFields & ~DWORD(DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME)) | c.fields;
    Job()->dmPaperSize = c.paperSize;
    Job()->dmPaperWidth = c.width;
    Job()->dmPaperLength = c.length;
    const std::vector<BYTE> before = job_;
    EXPECT_TRUE(Check()) << c.what;
    EXPECT_EQ(job_, before) << c.what;
  }
}

TEST_F(JobCheckTest, AFormIsFoundByIndexAndByName) {
  Job()->dmFields = (Job()->dmFields | DM_PAPERSIZE) & ~DWORD(DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME);
  Job()->dmPaperSize = 5;
  EXPECT_TRUE(Check());
  EXPECT_EQ(std::u16string(Job()->dmFormName), u"Legal");
  EXPECT_EQ(Job()->dmPaperLength, 3556);

  job_ = DriverDefault();
  Job()->dmFields = (Job()->dmFields | DM_FORMNAME) & ~DWORD(DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH);
  memset(Job()->dmFormName, 0, sizeof Job()->dmFormName);
  memcpy(Job()->dmFormName, u"Executive", 9 * 2);
  EXPECT_TRUE(Check());
  EXPECT_EQ(Job()->dmPaperSize, 7);
  EXPECT_EQ(Job()->dmPaperWidth, 1841);
}

TEST_F(JobCheckTest, ALongFormNameIsCutTo31Characters) {
  const std::u16string name = u"A form whose name runs to forty letters.";
  ASSERT_EQ(name.size(), 40u);
  FORM_INFO_1W form = {};
  form.pName = const_cast<LPWSTR>(name.c_str());
  form.Size = {100000, 150000};
  form.ImageableArea = {0, 0, 100000, 150000};
  ASSERT_TRUE(AddFormW(printer_, 1, reinterpret_cast<LPBYTE>(&form)));
  Job()->dmFields = (Job()->dmFields | DM_PAPERLENGTH | DM_PAPERWIDTH) & ~DWORD(DM_FORMNAME);
  Job()->dmPaperWidth = 1000;
  Job()->dmPaperLength = 1500;
  const WORD logPixels = Job()->dmLogPixels;
  EXPECT_TRUE(Check());
  EXPECT_EQ(std::u16string(Job()->dmFormName), name.substr(0, 31));
  EXPECT_EQ(Job()->dmLogPixels, logPixels) << "nothing is written past the form name";
  EXPECT_EQ(Job()->dmPaperSize, 14) << "the first form after the 13 built-in ones";
}

TEST_F(JobCheckTest, AJobWithoutAContextIsRefused) {
  HideModel();
  const std::vector<BYTE> before = job_;
  EXPECT_FALSE(Check()) << "no context: the job's DEVMODE cannot be merged";
  EXPECT_EQ(job_, before);
}

}  // namespace
}  // namespace zems_test
