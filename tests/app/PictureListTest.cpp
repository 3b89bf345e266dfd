#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "app/PictureList.h"
#include "tests/support/TempTree.h"

namespace {

std::vector<std::string> Scan(
    const std::string& folder, const std::function<bool()>& stop = [] { return false; }) {
  TStringList list;
  ScanFolder(folder, list, stop);
  std::vector<std::string> paths;
  for (int i = 0; i < list.Count(); ++i) paths.push_back(list.Strings(i));
  return paths;
}

struct TNameCase {
  const char* name;
  bool picture;
};

class PictureNameTest : public testing::TestWithParam<TNameCase> {};

TEST_P(PictureNameTest, ExtensionDecides) {
  EXPECT_EQ(IsPictureName(GetParam().name), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(Names, PictureNameTest,
                         testing::Values(TNameCase{"a.jpg", true}, TNameCase{"b.JPEG", true},
                                         TNameCase{"c.Bmp", true}, TNameCase{"d.png", false},
                                         TNameCase{"e", false}, TNameCase{"photo.jpg.txt", false},
                                         TNameCase{"archive.tar.jpg", true},
                                         TNameCase{".jpg", true}, TNameCase{"x.jpe", false},
                                         TNameCase{"x.jpgx", false}, TNameCase{"x.", false}));

TEST(ScanFolderTest, KeepsPicturesOfEveryCaseAndSkipsOthers) {
  TTempTree tree;
  for (const char* name : {"a.jpg", "b.JPEG", "c.Bmp", "d.png", "e", "photo.jpg.txt"})
    tree.File(name);
  EXPECT_EQ(Scan(tree.Root()), (std::vector<std::string>{tree.Path("a.jpg"), tree.Path("b.JPEG"),
                                                         tree.Path("c.Bmp")}));
}

TEST(ScanFolderTest, SubfolderPicturesStandWhereTheSubfolderIsMet) {
  TTempTree tree;
  tree.File("x.jpg");
  tree.File("s/y.jpg");
  tree.File("s/t/w.bmp");
  tree.File("z.jpg");
  EXPECT_EQ(Scan(tree.Root()),
            (std::vector<std::string>{tree.Path("s/t/w.bmp"), tree.Path("s/y.jpg"),
                                      tree.Path("x.jpg"), tree.Path("z.jpg")}));
}

TEST(ScanFolderTest, FollowsNaturalOrderAcrossFoldersAndFiles) {
  TTempTree tree;
  tree.File("IMG_10.jpg");
  tree.File("IMG_2.jpg");
  tree.File("img_3/a.jpg");
  tree.File("Img_1.JPG");
  EXPECT_EQ(Scan(tree.Root()),
            (std::vector<std::string>{tree.Path("Img_1.JPG"), tree.Path("IMG_2.jpg"),
                                      tree.Path("img_3/a.jpg"), tree.Path("IMG_10.jpg")}));
}

TEST(ScanFolderTest, FolderNamedLikeAPictureIsScannedNotAdded) {
  TTempTree tree;
  tree.File("pics.jpg/inner.bmp");
  EXPECT_EQ(Scan(tree.Root()), std::vector<std::string>{tree.Path("pics.jpg/inner.bmp")});
}

TEST(ScanFolderTest, HiddenFilesAndFoldersAreIncluded) {
  TTempTree tree;
  tree.File(".hidden.jpg");
  tree.File(".cache/thumb.jpg");
  EXPECT_EQ(Scan(tree.Root()),
            (std::vector<std::string>{tree.Path(".cache/thumb.jpg"), tree.Path(".hidden.jpg")}));
}

TEST(ScanFolderTest, MissingFolderAddsNothing) {
  TTempTree tree;
  EXPECT_TRUE(Scan(tree.Path("absent")).empty());
}

TEST(ScanFolderTest, FileInPlaceOfTheFolderAddsNothing) {
  TTempTree tree;
  EXPECT_TRUE(Scan(tree.File("plain.jpg")).empty());
}

TEST(ScanFolderTest, UnreadableFolderAddsNothingAndTheScanGoesOn) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder; permissions cannot hide one";
  TTempTree tree;
  tree.File("a.jpg");
  tree.File("locked/b.jpg");
  tree.File("z.jpg");
  chmod(tree.Path("locked").c_str(), 0);
  EXPECT_EQ(Scan(tree.Root()), (std::vector<std::string>{tree.Path("a.jpg"), tree.Path("z.jpg")}));
}

TEST(ScanFolderTest, LinkBackToAnAncestorEndsTheScan) {
  TTempTree tree;
  tree.File("a/b/c.jpg");
  tree.Link(tree.Path("a"), "a/b/loop");
  tree.Link(tree.Root(), "a/b/top");
  EXPECT_EQ(Scan(tree.Root()), std::vector<std::string>{tree.Path("a/b/c.jpg")});
}

TEST(ScanFolderTest, LinkedFolderScannedOnceAndLinkedFileTakenLikeTheFile) {
  TTempTree tree;
  tree.File("real/p.jpg");
  tree.Link(tree.Path("real"), "alias");
  tree.Link(tree.Path("real/p.jpg"), "shortcut.jpg");
  tree.Link(tree.Path("gone.jpg"), "broken.jpg");
  // "alias" comes first, so the folder is scanned through it and "real" adds nothing.
  EXPECT_EQ(Scan(tree.Root()),
            (std::vector<std::string>{tree.Path("alias/p.jpg"), tree.Path("broken.jpg"),
                                      tree.Path("shortcut.jpg")}));
}

TEST(ScanFolderTest, StopsWhenTheApplicationEnds) {
  TTempTree tree;
  tree.File("a.jpg");
  tree.File("b.jpg");
  tree.File("c.jpg");
  // "." comes first and is skipped; the check before the next entry ends the scan.
  EXPECT_TRUE(Scan(tree.Root(), [] { return true; }).empty());
}

TEST(ScanFolderTest, AppendsToWhatTheListHolds) {
  TTempTree tree;
  tree.File("a.jpg");
  TStringList list;
  list.Add("earlier");
  ScanFolder(tree.Root(), list, [] { return false; });
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Strings(0), "earlier");
}

struct TAdvanceCase {
  int32_t from;
  int32_t count;
  int32_t to;
};

class AdvanceIndexTest : public testing::TestWithParam<TAdvanceCase> {};

TEST_P(AdvanceIndexTest, MovesOnAndHoldsOnTheLastEntry) {
  EXPECT_EQ(AdvanceIndex(GetParam().from, GetParam().count), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdvanceIndexTest,
                         testing::Values(TAdvanceCase{0, 3, 1}, TAdvanceCase{1, 3, 2},
                                         TAdvanceCase{2, 3, 2}, TAdvanceCase{0, 1, 0},
                                         TAdvanceCase{5, 3, 2}));

}  // namespace
