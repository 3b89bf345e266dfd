#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/CommandLine.h"
#include "tests/support/CaseName.h"
#include "tests/support/TempTree.h"

namespace {

using Words = std::vector<std::string>;
using R = TCommandRequest;

// Options only: no path is given, so nothing on disk matters.
struct TOptionCase {
  std::string name;
  Words Arguments;
  TCommandRequest Request;
  Words Toolkit = {"loupix"};
  std::string Scale = "";
  std::string Error = "";
  bool Hint = false;
};

class CommandLineOptions : public testing::TestWithParam<TOptionCase> {};

TEST_P(CommandLineOptions, AreReadAsTheTableSays) {
  const TOptionCase& c = GetParam();
  Words arguments{"loupix"};
  arguments.insert(arguments.end(), c.Arguments.begin(), c.Arguments.end());
  const TCommandLine line = ParseCommandLine(arguments);
  EXPECT_EQ(line.Request, c.Request);
  EXPECT_EQ(line.Error, c.Error);
  EXPECT_EQ(line.ShowUsageHint, c.Hint);
  if (c.Request != R::Run) return;
  EXPECT_EQ(line.ToolkitArguments, c.Toolkit);
  EXPECT_EQ(line.Scale, c.Scale);
  EXPECT_EQ(line.PathKind, TPathKind::None);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineOptions,
    testing::Values(
        TOptionCase{"Nothing", {}, R::Run}, TOptionCase{"Help", {"--help"}, R::Help},
        TOptionCase{"ShortHelp", {"-h"}, R::Help},
        TOptionCase{"Version", {"--version"}, R::Version},
        TOptionCase{"HelpBeforeAMistakeWins", {"--help", "--bogus"}, R::Help},
        TOptionCase{"MistakeBeforeHelpWins",
                    {"--bogus", "--help"},
                    R::Error,
                    {},
                    "",
                    "loupix: unknown option '--bogus'",
                    true},
        TOptionCase{
            "UnknownShortOption", {"-x"}, R::Error, {}, "", "loupix: unknown option '-x'", true},
        TOptionCase{"ScaleAttached", {"--scale=integer"}, R::Run, {"loupix"}, "integer"},
        TOptionCase{"ScaleSeparate", {"--scale", "smooth"}, R::Run, {"loupix"}, "smooth"},
        TOptionCase{"ScaleNearest", {"--scale=nearest"}, R::Run, {"loupix"}, "nearest"},
        TOptionCase{"ScaleUnknownMode",
                    {"--scale=huge"},
                    R::Error,
                    {},
                    "",
                    "loupix: unknown scale 'huge' (integer, smooth or nearest)",
                    true},
        TOptionCase{"ScaleWithoutValue",
                    {"--scale"},
                    R::Error,
                    {},
                    "",
                    "loupix: option '--scale' needs a value (integer, smooth or nearest)",
                    true},
        TOptionCase{"ScaleNeedsTwoDashes",
                    {"-scale=integer"},
                    R::Error,
                    {},
                    "",
                    "loupix: unknown option '-scale=integer'",
                    true},
        TOptionCase{"ToolkitOptionWithValue",
                    {"-platform", "offscreen"},
                    R::Run,
                    {"loupix", "-platform", "offscreen"}},
        TOptionCase{"ToolkitOptionTwoDashesAttached",
                    {"--display=:7", "-style=fusion"},
                    R::Run,
                    {"loupix", "-display", ":7", "-style", "fusion"}},
        TOptionCase{"ToolkitFlag", {"-reverse"}, R::Run, {"loupix", "-reverse"}},
        TOptionCase{"ToolkitFlagWithValue",
                    {"-reverse=yes"},
                    R::Error,
                    {},
                    "",
                    "loupix: option '-reverse' takes no value",
                    true},
        TOptionCase{"ToolkitOptionWithoutValue",
                    {"-platform"},
                    R::Error,
                    {},
                    "",
                    "loupix: option '-platform' needs a value",
                    true},
        TOptionCase{"OwnAndToolkitOptionsMixed",
                    {"-sync", "--scale=smooth", "-geometry", "640x480"},
                    R::Run,
                    {"loupix", "-sync", "-geometry", "640x480"},
                    "smooth"},
        TOptionCase{"TwoPaths",
                    {"a.jpg", "b.jpg"},
                    R::Error,
                    {},
                    "",
                    "loupix: only one FILE or FOLDER may be given",
                    true}),
    CaseName{});

// Paths: made in a fresh folder, which is also the working folder.
class CommandLinePaths : public testing::Test {
 protected:
  void SetUp() override {
    FOldFolder = std::filesystem::current_path();
    std::filesystem::current_path(FTree.Root());
  }
  void TearDown() override { std::filesystem::current_path(FOldFolder); }
  TCommandLine Parse(const Words& arguments) {
    Words all{"loupix"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return ParseCommandLine(all);
  }
  TTempTree FTree;
  std::filesystem::path FOldFolder;
};

TEST_F(CommandLinePaths, AFileIsTakenWithItsFullPath) {
  const std::string file = FTree.File("pictures/a.jpg");
  const TCommandLine line = Parse({"pictures/./a.jpg"});
  EXPECT_EQ(line.Request, R::Run);
  EXPECT_EQ(line.PathKind, TPathKind::File);
  EXPECT_EQ(line.Path, file);
}

TEST_F(CommandLinePaths, AFolderIsTakenAsTheFolderChooserGivesIt) {
  const std::string folder = FTree.Folder("pictures/summer");
  for (const std::string& given : {folder, folder + "/", std::string("pictures/summer//"),
                                   std::string("./pictures/../pictures/summer")}) {
    const TCommandLine line = Parse({given});
    EXPECT_EQ(line.PathKind, TPathKind::Folder) << given;
    EXPECT_EQ(line.Path, folder) << given;
  }
}

TEST_F(CommandLinePaths, LinksAreFollowed) {
  FTree.File("real/a.bmp");
  FTree.Link(FTree.Path("real"), "linked");
  FTree.Link(FTree.Path("real/a.bmp"), "linked.bmp");
  EXPECT_EQ(Parse({"linked"}).PathKind, TPathKind::Folder);
  EXPECT_EQ(Parse({"linked.bmp"}).PathKind, TPathKind::File);
}

TEST_F(CommandLinePaths, APathAfterTwoDashesMayStartWithADash) {
  const std::string file = FTree.File("-odd.jpg");
  const TCommandLine line = Parse({"--", "-odd.jpg"});
  EXPECT_EQ(line.PathKind, TPathKind::File);
  EXPECT_EQ(line.Path, file);
}

TEST_F(CommandLinePaths, ToolkitOptionsAroundAPathStayTheToolkits) {
  FTree.File("a.bmp");
  const TCommandLine line = Parse({"-platform", "xcb", "a.bmp", "-reverse"});
  EXPECT_EQ(line.PathKind, TPathKind::File);
  EXPECT_EQ(line.ToolkitArguments, (Words{"loupix", "-platform", "xcb", "-reverse"}));
}

struct TBadPathCase {
  std::string name;
  std::string Path;
  std::string Error;
};

class CommandLineBadPaths : public CommandLinePaths,
                            public testing::WithParamInterface<TBadPathCase> {};

TEST_P(CommandLineBadPaths, AreOneLineErrorsNamingThePath) {
  FTree.Link(FTree.Path("nowhere"), "dangling");
  ASSERT_EQ(mkfifo(FTree.Path("pipe").c_str(), 0600), 0);
  FTree.File("plain");
  const TCommandLine line = Parse({GetParam().Path});
  EXPECT_EQ(line.Request, R::Error);
  EXPECT_EQ(line.Error, GetParam().Error);
  EXPECT_FALSE(line.ShowUsageHint);
  EXPECT_EQ(line.Error.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineBadPaths,
    testing::Values(
        TBadPathCase{"Missing", "missing.jpg",
                     "loupix: cannot open 'missing.jpg': No such file or directory"},
        TBadPathCase{"Empty", "", "loupix: cannot open '': No such file or directory"},
        TBadPathCase{"LoneDash", "-", "loupix: cannot open '-': No such file or directory"},
        TBadPathCase{"DanglingLink", "dangling",
                     "loupix: cannot open 'dangling': No such file or directory"},
        TBadPathCase{"BelowAFile", "plain/a.jpg",
                     "loupix: cannot open 'plain/a.jpg': Not a directory"},
        TBadPathCase{"Fifo", "pipe", "loupix: cannot open 'pipe': neither a file nor a folder"},
        TBadPathCase{"Device", "/dev/null",
                     "loupix: cannot open '/dev/null': neither a file nor a folder"}),
    CaseName{});

TEST(CommandLineApply, ScaleGoesIntoTheEnvironment) {
  unsetenv("LOUPIX_SCALE");
  ApplyCommandLine(ParseCommandLine({"loupix"}));
  EXPECT_EQ(std::getenv("LOUPIX_SCALE"), nullptr);
  ApplyCommandLine(ParseCommandLine({"loupix", "--scale=nearest"}));
  ASSERT_NE(std::getenv("LOUPIX_SCALE"), nullptr);
  EXPECT_STREQ(std::getenv("LOUPIX_SCALE"), "nearest");
  unsetenv("LOUPIX_SCALE");
}

}  // namespace
