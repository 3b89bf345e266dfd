#include <gtest/gtest.h>

#include <functional>

#include "platform/framework/Exception.h"
#include "platform/framework/List.h"
#include "platform/framework/StringList.h"

namespace {

int a = 1, b = 2, c = 3;

TList ListOfThree() {
  TList list;
  list.Add(&a);
  list.Add(&b);
  list.Add(&c);
  return list;
}

struct BadIndexCase {
  const char* name;
  std::function<void(TList&)> call;
  const char* message;
};

class ListBadIndex : public testing::TestWithParam<BadIndexCase> {};

TEST_P(ListBadIndex, RaisesListErrorNamingTheIndex) {
  TList list = ListOfThree();
  try {
    GetParam().call(list);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), GetParam().message);
  }
  EXPECT_EQ(list.Count(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListBadIndex,
    testing::Values(
        BadIndexCase{"ReadPastEnd", [](TList& l) { l.Items(3); }, "List index out of bounds (3)"},
        BadIndexCase{"ReadNegative", [](TList& l) { l.Items(-1); },
                     "List index out of bounds (-1)"},
        BadIndexCase{"Write", [](TList& l) { l.SetItems(5, nullptr); },
                     "List index out of bounds (5)"},
        BadIndexCase{"Delete", [](TList& l) { l.Delete(3); }, "List index out of bounds (3)"},
        BadIndexCase{"InsertPastEnd", [](TList& l) { l.Insert(4, &a); },
                     "List index out of bounds (4)"},
        BadIndexCase{"MoveTarget", [](TList& l) { l.Move(0, 3); }, "List index out of bounds (3)"},
        BadIndexCase{"Exchange", [](TList& l) { l.Exchange(0, -2); },
                     "List index out of bounds (-2)"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(List, InsertMoveRemoveKeepOrder) {
  TList list = ListOfThree();
  list.Insert(3, &a);  // appending at Count is allowed
  EXPECT_EQ(list.Last(), &a);
  list.Move(0, 2);
  EXPECT_EQ(list.Items(0), &b);
  EXPECT_EQ(list.Items(1), &c);
  EXPECT_EQ(list.Items(2), &a);
  EXPECT_EQ(list.Remove(&a), 2);
  EXPECT_EQ(list.IndexOf(&a), 2);  // the second occurrence moved up
  EXPECT_EQ(list.Remove(&b), 0);
  EXPECT_EQ(list.Remove(&b), -1);
}

TEST(StringList, IndexOfIgnoresCaseUnlessAsked) {
  TStringList list;
  list.Add("Photo.JPG");
  list.Add("photo.jpg");
  EXPECT_EQ(list.IndexOf("PHOTO.jpg"), 0);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("photo.jpg"), 1);
  EXPECT_EQ(list.IndexOf("PHOTO.jpg"), -1);
}

TEST(StringList, BadIndexRaisesStringListError) {
  TStringList list;
  list.Add("x");
  EXPECT_THROW(list.Strings(1), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(2, "y"), EStringListError);
  list.Insert(1, "y");
  EXPECT_EQ(list.Strings(1), "y");
}

struct TextCase {
  const char* text;
  std::vector<std::string> lines;
};

class StringListText : public testing::TestWithParam<TextCase> {};

TEST_P(StringListText, SplitsAtEveryKindOfLineBreak) {
  TStringList list;
  list.SetText(GetParam().text);
  ASSERT_EQ(list.Count(), static_cast<int>(GetParam().lines.size()));
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Strings(i), GetParam().lines[i]);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringListText,
                         testing::Values(TextCase{"", {}}, TextCase{"a", {"a"}},
                                         TextCase{"a\nb\n", {"a", "b"}},
                                         TextCase{"a\r\nb", {"a", "b"}},
                                         TextCase{"a\r\rb", {"a", "", "b"}},
                                         TextCase{"\n\n", {"", ""}}));

TEST(StringList, TextEndsEveryLine) {
  TStringList list;
  list.Add("a");
  list.Add("");
  list.Add("c");
  EXPECT_EQ(list.Text(), "a\n\nc\n");
  TStringList copy;
  copy.SetText(list.Text());
  EXPECT_EQ(copy.Text(), list.Text());
}

}  // namespace
