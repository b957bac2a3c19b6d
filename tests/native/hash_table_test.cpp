#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/checksum.h"
#include "core/hash_table.h"
#include "core/string.h"
#include "tests/native/container_test_support.h"

namespace {

using container_test::BackwardContents;
using container_test::Contents;

using IntTable = HashTable<int, int>;

// The keys of a table in walk order.
template <class V, class K>
std::vector<K> KeysInOrder(HashTable<V, K>& table) {
  std::vector<K> keys;
  Cursor cursor;
  for (V* value = table.First(cursor); value != nullptr; value = table.Next(cursor)) {
    keys.push_back(table.CurrentEntry(cursor)->key);
  }
  return keys;
}

TEST(HashTableTest, TableBeforeInitFindsAndStoresNothing) {
  IntTable table;
  EXPECT_EQ(table.BucketCount(), 0);
  EXPECT_EQ(table.BucketOf(5), INT_MIN);  // 0x80000000: no bucket
  EXPECT_EQ(table.Find(5), nullptr);
  EXPECT_FALSE(table.Set(5, 50));
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.Find(5), nullptr);
  EXPECT_EQ(table.FirstValue(), nullptr);
  Cursor cursor;
  EXPECT_FALSE(table.BeginForward(cursor));
}

TEST(HashTableTest, SetReportsNewKeysAndOverwritesInPlace) {
  IntTable table(7);
  EXPECT_TRUE(table.Set(30, 300));  // "C"
  EXPECT_TRUE(table.Set(10, 100));  // "A"
  EXPECT_TRUE(table.Set(20, 200));  // "B"
  EXPECT_FALSE(table.Set(10, 111));
  EXPECT_EQ(table.Count(), 3);
  EXPECT_EQ(*table.Find(10), 111);
  // Insertion order, whatever the buckets (30 % 7 = 2, 10 % 7 = 3, 20 % 7 = 6).
  EXPECT_EQ(KeysInOrder(table), (std::vector<int>{30, 10, 20}));
  EXPECT_EQ(Contents(table), (std::vector<int>{300, 111, 200}));
  EXPECT_EQ(BackwardContents(table), (std::vector<int>{200, 111, 300}));
  EXPECT_EQ(*table.FirstValue(), 300);
  EXPECT_EQ(*table.LastValue(), 200);
}

TEST(HashTableTest, WalkOrderIgnoresBucketOrder) {
  IntTable table(5);
  for (int key : {4, 3, 2, 1, 0, 9, 5}) table.Set(key, key * 10);
  EXPECT_EQ(KeysInOrder(table), (std::vector<int>{4, 3, 2, 1, 0, 9, 5}));
}

TEST(HashTableTest, NewEntriesGoToTheHeadOfTheirBucket) {
  IntTable table(7);
  table.Set(1, 10);
  table.Set(8, 80);
  table.Set(15, 150);
  ASSERT_EQ(table.BucketOf(8), 1);
  const IntTable::BucketList& bucket = table.BucketAt(1);
  EXPECT_EQ(bucket.Count(), 3);
  std::vector<int> keys;
  Cursor cursor;
  for (const auto* entry = bucket.First(cursor); entry != nullptr; entry = bucket.Next(cursor)) {
    keys.push_back(entry->key);
    EXPECT_EQ(entry->list, &bucket);
    EXPECT_EQ(entry->value, entry->key * 10);
  }
  EXPECT_EQ(keys, (std::vector<int>{15, 8, 1}));
  EXPECT_EQ(table.BucketAt(0).Count(), 0);
}

TEST(HashTableTest, BucketsOfNumericKeys) {
  struct Case {
    int buckets, key, bucket;
  } cases[] = {
      {40, 12345, 12345 % 40},
      {10, -1, 5},  // 0xFFFFFFFF mod 10, unsigned
      {7, INT_MIN, int(0x80000000u % 7)},
      {1, 99, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.key);
    IntTable table(test.buckets);
    EXPECT_EQ(table.BucketOf(test.key), test.bucket);
    table.Set(test.key, 1);
    EXPECT_EQ(table.BucketAt(test.bucket).Count(), 1);
  }
}

TEST(HashTableTest, TextKeysHashWithTheArchiveChecksum) {
  struct Case {
    const char* text;
    uint32_t hash;
  } cases[] = {
      {"", 0x79E2BC9Du},
      {"A", 0x79E2BCDFu},  // seed + 0x41 + 1
      {"ABCD", 0x79E2BC9Du + 0x44434241u + 4},  // one little-endian word
      {"ABCD\xFF", 0x79E2BC9Du + 0x44434241u - 1 + 5},  // trailing byte sign-extended
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.text);
    String key(test.text);
    EXPECT_EQ(HashOfKey(key), test.hash);
    HashTable<bool, String> table(40);
    EXPECT_EQ(table.BucketOf(key), int(test.hash % 40));
  }
}

TEST(HashTableTest, TextKeysCompareCaseSensitively) {
  HashTable<bool, String> seen(40);
  EXPECT_TRUE(seen.Set(String("C:\\Dir\\File.txt"), true));
  EXPECT_TRUE(seen.Set(String("C:\\DIR\\FILE.TXT"), true));
  EXPECT_FALSE(seen.Set(String("C:\\Dir\\File.txt"), true));
  EXPECT_TRUE(seen.Set(String("C:\\Dir\\File.tx"), true));
  EXPECT_TRUE(seen.Contains(String("C:\\DIR\\FILE.TXT")));
  EXPECT_FALSE(seen.Contains(String("c:\\dir\\file.txt")));
  EXPECT_EQ(seen.Count(), 3);
}

TEST(HashTableTest, LookupsOfMissingKeys) {
  IntTable table(3);
  table.Set(1, 10);
  table.Set(4, 40);  // same bucket as 1
  int value = -7;
  EXPECT_FALSE(table.Get(7, value));  // same bucket, absent
  EXPECT_EQ(value, -7);
  EXPECT_TRUE(table.Get(4, value));
  EXPECT_EQ(value, 40);
  EXPECT_EQ(table.Find(2), nullptr);
  EXPECT_EQ(table.FindEntry(7), nullptr);
  EXPECT_EQ(table.FindEntry(4)->key, 4);
}

TEST(HashTableTest, RemovalUnlinksFromBucketAndOrder) {
  struct Case {
    int key;
    std::vector<int> left;
  } cases[] = {{1, {2, 3, 4}}, {3, {1, 2, 4}}, {4, {1, 2, 3}}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.key);
    IntTable table(2);
    for (int key : {1, 2, 3, 4}) table.Set(key, key);
    EXPECT_TRUE(table.RemoveKey(test.key));
    EXPECT_FALSE(table.RemoveKey(test.key));
    EXPECT_EQ(table.Find(test.key), nullptr);
    EXPECT_EQ(Contents(table), test.left);
    std::vector<int> reversed(test.left.rbegin(), test.left.rend());
    EXPECT_EQ(BackwardContents(table), reversed);
    EXPECT_EQ(table.Count(), 3);
    EXPECT_EQ(table.BucketAt(0).Count() + table.BucketAt(1).Count(), 3);
  }
}

TEST(HashTableTest, RemovesAndTakesDuringAWalk) {
  IntTable table(4);
  for (int key = 1; key <= 6; ++key) table.Set(key, key * 10);
  Cursor cursor;
  std::vector<int> taken;
  for (int* value = table.First(cursor); value != nullptr; value = table.Next(cursor)) {
    int seen = *value;
    if (seen == 20 || seen == 50) taken.push_back(table.Take(cursor));
    if (seen == 60) {
      EXPECT_TRUE(table.RemoveAt(cursor));
    }
  }
  EXPECT_EQ(taken, (std::vector<int>{20, 50}));
  EXPECT_EQ(Contents(table), (std::vector<int>{10, 30, 40}));
  EXPECT_EQ(table.Take(cursor), 0);  // nothing current
  EXPECT_FALSE(table.RemoveAt(cursor));
  EXPECT_EQ(table.Count(), 3);
}

TEST(HashTableTest, RemovesFromTheEndsOfTheOrder) {
  IntTable table(3);
  for (int key = 1; key <= 6; ++key) table.Set(key, key);
  EXPECT_TRUE(table.RemoveFirst());
  EXPECT_TRUE(table.RemoveLast());
  EXPECT_EQ(table.RemoveFirstN(-2), 0);
  EXPECT_EQ(table.KeepFirst(3), 1);
  EXPECT_EQ(Contents(table), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(table.KeepLast(1), 2);
  EXPECT_EQ(Contents(table), (std::vector<int>{4}));
  EXPECT_EQ(table.RemoveLastN(5), 1);
  EXPECT_FALSE(table.RemoveFirst());
  EXPECT_EQ(table.FirstValue(), nullptr);
  EXPECT_EQ(table.LastValue(), nullptr);
  EXPECT_TRUE(table.Set(4, 4));  // the emptied table is usable again
}

TEST(HashTableTest, InitAndClearDiscardEverything) {
  IntTable table(5);
  for (int key = 0; key < 20; ++key) table.Set(key, key);
  table.Clear();
  EXPECT_EQ(table.BucketCount(), 5);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.Find(3), nullptr);
  EXPECT_TRUE(table.Set(3, 3));
  table.Init(-4);
  EXPECT_EQ(table.BucketCount(), 0);
  EXPECT_EQ(table.BucketOf(3), INT_MIN);
  EXPECT_EQ(table.Count(), 0);
  table.RemoveAll();
  table.Init(2);
  EXPECT_TRUE(table.Set(3, 3));
}

TEST(HashTableTest, CopiesKeepOrderAndAreIndependent) {
  HashTable<bool, String> table(40);
  for (const char* text : {"zeta", "alpha", "mid"}) table.Set(String(text), true);
  HashTable<bool, String> copy(table);
  copy.Set(String("alpha"), false);
  copy.Set(String("new"), true);
  EXPECT_EQ(*table.Find(String("alpha")), true);
  EXPECT_FALSE(table.Contains(String("new")));
  std::vector<String> keys = KeysInOrder(copy);
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_STREQ(keys[0].CStr(), "zeta");
  EXPECT_STREQ(keys[1].CStr(), "alpha");
  EXPECT_STREQ(keys[2].CStr(), "mid");
  EXPECT_STREQ(keys[3].CStr(), "new");
  table = copy;
  EXPECT_EQ(table.Count(), 4);
  EXPECT_EQ(table.BucketCount(), 40);
  EXPECT_EQ(*table.Find(String("alpha")), false);
}

int lastCalled = 0;
void RecordOne(unsigned n) { lastCalled = int(n) + 1; }
void RecordTwo(unsigned n) { lastCalled = int(n) + 2; }

TEST(HashTableTest, HoldsCallbacksByNumber) {
  HashTable<void (*)(unsigned), unsigned> callbacks(16);
  callbacks.Set(0x8001u, RecordOne);
  callbacks.Set(0xFFFFFFFFu, RecordTwo);
  (*callbacks.Find(0xFFFFFFFFu))(10);
  EXPECT_EQ(lastCalled, 12);
  (*callbacks.Find(0x8001u))(10);
  EXPECT_EQ(lastCalled, 11);
  EXPECT_EQ(callbacks.Find(1u), nullptr);
}

TEST(HashTableTest, RandomElementIsAtTheRandomPositionOfTheOrder) {
  IntTable table(3);
  for (int key = 0; key < 10; ++key) table.Set(key, key * 100);
  std::srand(99);
  int expected = Random(10) * 100;
  std::srand(99);
  EXPECT_EQ(*table.RandomElement(), expected);
}

// The collection operations a table does not support, each with its own check number.
TEST(HashTableDeathTest, UnsupportedOperationsAreInternalErrors) {
  struct Case {
    void (*operation)(IntTable&);
    int line;
  } cases[] = {
      {[](IntTable& t) { t.AddLast(1); }, 5657},
      {[](IntTable& t) { t.AddLast(static_cast<const int*>(nullptr)); }, 5658},
      {[](IntTable& t) { t.AddAllLast(t); }, 5659},
      {[](IntTable& t) { t.AddFirst(1); }, 5660},
      {[](IntTable& t) { t.AddFirst(static_cast<const int*>(nullptr)); }, 5661},
      {[](IntTable& t) { t.AddAllFirst(t); }, 5662},
      {[](IntTable& t) { t.RotateForward(1); }, 5663},
      {[](IntTable& t) { t.RotateBackward(1); }, 5664},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.line);
    IntTable table(4);
    table.Set(1, 1);
    std::string expected =
        "^Internal Fatal Error\r\nModule: core\\.h\r\nLine: " + std::to_string(test.line) + "$";
    EXPECT_EXIT(test.operation(table), ::testing::ExitedWithCode(1), expected);
  }
}

}  // namespace
