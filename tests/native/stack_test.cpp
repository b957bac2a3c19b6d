#include <gtest/gtest.h>

#include "core/hash_table.h"
#include "core/list.h"
#include "core/stack.h"
#include "core/string.h"
#include "core/type_name.h"

namespace {

TEST(StackTest, PopsInReverseOrderOfPushes) {
  Stack<int> stack;
  EXPECT_TRUE(stack.IsEmpty());
  EXPECT_EQ(stack.Top(), nullptr);
  stack.Push(1);
  stack.Push(2);
  stack.Push(3);
  EXPECT_EQ(*stack.Top(), 3);
  EXPECT_EQ(stack.Pop(), 3);
  stack.Push(4);
  EXPECT_EQ(stack.Pop(), 4);
  EXPECT_EQ(stack.Pop(), 2);
  EXPECT_EQ(stack.Count(), 1);
  EXPECT_EQ(stack.Pop(), 1);
  EXPECT_TRUE(stack.IsEmpty());
}

TEST(StackTest, HoldsTexts) {
  Stack<String> paths;
  paths.Push(String("C:\\A"));
  paths.Push(String("C:\\B"));
  EXPECT_STREQ(paths.Pop().CStr(), "C:\\B");
  EXPECT_STREQ(paths.Pop().CStr(), "C:\\A");
}

TEST(StackDeathTest, PopOfAnEmptyStackNamesTheElementType) {
  Stack<int> numbers;
  EXPECT_EXIT(numbers.Pop(), ::testing::ExitedWithCode(1), "^Stack<int>::pop$");
  Stack<String> texts;
  texts.Push(String("x"));
  texts.Pop();
  EXPECT_EXIT(texts.Pop(), ::testing::ExitedWithCode(1), "^Stack<class String>::pop$");
}

enum Colour { kRed };

TEST(TypeNameTest, KeywordForBasicTypesClassForClasses) {
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {TypeName<int>(), "int"},
      {TypeName<unsigned>(), "unsigned int"},
      {TypeName<void*>(), "void *"},
      {TypeName<const char*>(), "const char *"},
      {TypeName<char**>(), "char **"},
      {TypeName<String>(), "class String"},
      {TypeName<Colour>(), "enum {anonymous}::Colour"},
      {TypeName<List<Bucket<int, int>>>(), "class List<Bucket<int, int> >"},
      {TypeName<List<Bucket<void (*)(unsigned), unsigned>>>(),
       "class List<Bucket<void (*)(unsigned int), unsigned int> >"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.expected);
    EXPECT_STREQ(test.name, test.expected);
  }
  EXPECT_EQ(TypeName<int>(), TypeName<int>());  // built once, stable
}

}  // namespace
