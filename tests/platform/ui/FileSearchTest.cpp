#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <vector>

#include "platform/ui/FileSearch.h"
#include "tests/support/TempTree.h"

namespace {

struct TOrderCase {
  const char* before;
  const char* after;
};

std::ostream& operator<<(std::ostream& out, const TOrderCase& c) {
  return out << c.before << " < " << c.after;
}

class NaturalOrderTest : public testing::TestWithParam<TOrderCase> {};

TEST_P(NaturalOrderTest, FirstSortsBeforeSecond) {
  EXPECT_LT(NaturalCompare(GetParam().before, GetParam().after), 0);
  EXPECT_GT(NaturalCompare(GetParam().after, GetParam().before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NaturalOrderTest,
    testing::Values(TOrderCase{"IMG_2.jpg", "IMG_10.jpg"}, TOrderCase{"img_2.jpg", "IMG_10.jpg"},
                    TOrderCase{"a.jpg", "B.jpg"}, TOrderCase{"B.jpg", "c.jpg"},
                    TOrderCase{"x9", "x10"}, TOrderCase{"x", "x1"}, TOrderCase{"2", "10"},
                    TOrderCase{"007", "8"},
                    TOrderCase{"a99999999999999999999b", "a100000000000000000000a"},
                    TOrderCase{"A1", "a01"}, TOrderCase{"page 2 b", "page 10 a"}));

TEST(NaturalOrderTest, OnlyIdenticalNamesAreEqual) {
  EXPECT_EQ(NaturalCompare("IMG_1.jpg", "IMG_1.jpg"), 0);
  EXPECT_NE(NaturalCompare("img_1.jpg", "IMG_1.jpg"), 0);
}

std::vector<std::pair<std::string, int32_t>> Enumerate(const std::string& pattern, int32_t attr) {
  std::vector<std::pair<std::string, int32_t>> entries;
  TSearchRec rec;
  if (FindFirst(pattern, attr, rec) == 0) {
    do entries.emplace_back(rec.Name, rec.Attr);
    while (FindNext(rec) == 0);
  }
  FindClose(rec);
  return entries;
}

std::vector<std::string> Names(const std::vector<std::pair<std::string, int32_t>>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.first);
  return names;
}

TEST(FindFirstTest, DeliversEverythingInNaturalOrder) {
  TTempTree tree;
  for (const char* name : {"IMG_10.jpg", "IMG_2.jpg", "b.txt", "A.bmp", ".hidden"}) tree.File(name);
  tree.Folder("Sub");
  EXPECT_EQ(Names(Enumerate(tree.Path("*.*"), faAnyFile)),
            (std::vector<std::string>{".", "..", ".hidden", "A.bmp", "b.txt", "IMG_2.jpg",
                                      "IMG_10.jpg", "Sub"}));
}

TEST(FindFirstTest, ReportsDirectoryAndHiddenBits) {
  TTempTree tree;
  tree.File(".hidden");
  tree.File("plain");
  tree.Folder(".config");
  tree.Folder("dir");
  tree.Link(tree.Path("dir"), "dirlink");
  auto entries = Enumerate(tree.Path("*.*"), faAnyFile);
  std::map<std::string, int32_t> attr(entries.begin(), entries.end());
  EXPECT_EQ(attr["."] & (faDirectory | faHidden), faDirectory);
  EXPECT_EQ(attr[".."] & (faDirectory | faHidden), faDirectory);
  EXPECT_EQ(attr[".hidden"] & (faDirectory | faHidden), faHidden);
  EXPECT_EQ(attr["plain"] & (faDirectory | faHidden), 0);
  EXPECT_EQ(attr[".config"] & (faDirectory | faHidden), faDirectory | faHidden);
  EXPECT_EQ(attr["dir"] & faDirectory, faDirectory);
  EXPECT_EQ(attr["dirlink"] & faDirectory, faDirectory);
}

TEST(FindFirstTest, LeavesOutHiddenAndFoldersUnlessAsked) {
  TTempTree tree;
  tree.File(".hidden");
  tree.File("plain");
  tree.Folder("dir");
  EXPECT_EQ(Names(Enumerate(tree.Path("*.*"), 0)), std::vector<std::string>{"plain"});
  EXPECT_EQ(Names(Enumerate(tree.Path("*.*"), faDirectory)),
            (std::vector<std::string>{".", "..", "dir", "plain"}));
}

TEST(FindFirstTest, MaskSelectsNamesWithoutCase) {
  TTempTree tree;
  for (const char* name : {"a.JPG", "b.jpg", "c.bmp", "d"}) tree.File(name);
  EXPECT_EQ(Names(Enumerate(tree.Path("*.jpg"), faAnyFile)),
            (std::vector<std::string>{"a.JPG", "b.jpg"}));
  EXPECT_EQ(Names(Enumerate(tree.Path("?.bmp"), faAnyFile)), std::vector<std::string>{"c.bmp"});
}

TEST(FindFirstTest, MissingFolderFailsAndFindNextStaysFailed) {
  TTempTree tree;
  TSearchRec rec;
  EXPECT_NE(FindFirst(tree.Path("absent/*.*"), faAnyFile, rec), 0);
  EXPECT_NE(FindNext(rec), 0);
  FindClose(rec);
}

TEST(FindFirstTest, EmptyMatchFails) {
  TTempTree tree;
  tree.File("a.txt");
  TSearchRec rec;
  EXPECT_NE(FindFirst(tree.Path("*.jpg"), faAnyFile, rec), 0);
}

}  // namespace
