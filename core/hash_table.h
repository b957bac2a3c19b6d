// HashTable<V,K>: a table of values by key with a bucket count fixed by Init (never rehashed).
// Each entry is a Bucket<V,K> held in the List of its bucket and, table-wide, in an insertion
// order chain. Walking a table (the collection interface) follows that chain and yields the
// values: entries come out in the order in which their keys were first inserted, whatever their
// hashes. Overwriting a value does not move its entry.
//
// Keys: numbers hash to themselves; String keys hash to the ArchiveChecksum of their bytes and
// compare with String::Equals (case-sensitive). The bucket is hash mod bucketCount, unsigned.
// A table before Init has no buckets: it finds nothing and Set stores nothing.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/checksum.h"
#include "core/collection.h"
#include "core/fatal.h"
#include "core/list.h"
#include "core/string.h"
#include "core/vector.h"

template <class V, class K>
struct Bucket {
  K key;
  List<Bucket>* list;  // the bucket list that holds this entry
  Bucket* nextInOrder;
  Bucket* prevInOrder;
  V value;
};

inline uint32_t HashOfKey(const String& key) { return ArchiveChecksum(key.CStr(), key.Length()); }

template <class K>
uint32_t HashOfKey(const K& key) {
  static_assert(std::is_integral_v<K> || std::is_enum_v<K> || std::is_pointer_v<K>,
                "keys are numbers, pointers or String");
  if constexpr (std::is_pointer_v<K>) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key));
  } else {
    return static_cast<uint32_t>(key);
  }
}

inline bool KeysEqual(const String& a, const String& b) { return a.Equals(b); }

template <class K>
bool KeysEqual(const K& a, const K& b) {
  return a == b;
}

// The collection operations a table refuses (they would add a value without a key or reorder
// the insertion chain); each is an internal fatal error with its own check number.
enum class TableUnsupported {
  kAddLastValue,
  kAddLastPointer,
  kAddAllLast,
  kAddFirstValue,
  kAddFirstPointer,
  kAddAllFirst,
  kRotateForward,
  kRotateBackward,
};

[[noreturn]] inline void TableUnsupportedOperation(TableUnsupported operation) {
  InternalFatal(kContainerModule, kTableUnsupportedFirstCheck + static_cast<int>(operation));
}

template <class V, class K>
class HashTable : public Collection<V> {
 public:
  using Entry = Bucket<V, K>;
  using BucketList = List<Entry>;
  using Collection<V>::First, Collection<V>::Next, Collection<V>::Last, Collection<V>::Prev,
      Collection<V>::FirstElement, Collection<V>::LastElement, Collection<V>::CurrentElement,
      Collection<V>::NextElement, Collection<V>::PrevElement;

  // BucketOf's result when the table has no buckets.
  static constexpr int kNoBucket = INT32_MIN;

  HashTable() = default;
  explicit HashTable(int bucketCount) { Init(bucketCount); }
  // A copy has the same bucket count and the same entries in the same order.
  HashTable(const HashTable& other) : Collection<V>() { CopyFrom(other); }
  HashTable& operator=(const HashTable& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  ~HashTable() override = default;

  // Replaces the buckets with n empty ones (n < 0 counts as 0), destroying every entry.
  void Init(int n) {
    if (n < 0) n = 0;
    buckets_.SetSize(n);
    bucketCount_ = n;
    count_ = 0;
    firstInOrder_ = nullptr;
    lastInOrder_ = nullptr;
  }
  void Clear() { Init(bucketCount_); }

  int Count() const override { return count_; }
  int BucketCount() const { return bucketCount_; }

  // hash mod bucketCount (unsigned), or kNoBucket before Init.
  int BucketOf(const K& key) const {
    if (bucketCount_ < 1) return kNoBucket;
    return static_cast<int>(HashOfKey(key) % static_cast<uint32_t>(bucketCount_));
  }

  // The entries of one bucket, newest first (for tests and diagnostics).
  const BucketList& BucketAt(int i) const { return buckets_.At(i); }

  // Overwrites the value of an entry with an equal key and returns false; otherwise adds a new
  // entry (at the head of its bucket and the end of the order chain) and returns true. Before
  // Init nothing is stored and the result is false.
  bool Set(const K& key, const V& value) {
    Entry* existing = FindEntry(key);
    if (existing != nullptr) {
      existing->value = value;
      return false;
    }
    int bucket = BucketOf(key);
    if (bucket == kNoBucket) return false;
    BucketList& list = buckets_.At(bucket);
    Entry* entry = list.AddFirst(Entry{key, &list, nullptr, lastInOrder_, value});
    if (lastInOrder_ != nullptr) {
      lastInOrder_->nextInOrder = entry;
    } else {
      firstInOrder_ = entry;
    }
    lastInOrder_ = entry;
    ++count_;
    return true;
  }

  // Lookups; null or false when the key is absent.
  Entry* FindEntry(const K& key) {
    int bucket = BucketOf(key);
    if (bucket == kNoBucket) return nullptr;
    Cursor cursor;
    for (Entry* entry = buckets_.At(bucket).First(cursor); entry != nullptr;
         entry = buckets_.At(bucket).Next(cursor)) {
      if (KeysEqual(entry->key, key)) return entry;
    }
    return nullptr;
  }
  const Entry* FindEntry(const K& key) const {
    return const_cast<HashTable*>(this)->FindEntry(key);
  }
  V* Find(const K& key) {
    Entry* entry = FindEntry(key);
    return entry != nullptr ? &entry->value : nullptr;
  }
  const V* Find(const K& key) const { return const_cast<HashTable*>(this)->Find(key); }
  bool Contains(const K& key) const { return FindEntry(key) != nullptr; }
  // Copies the value of key into value; false (value unchanged) when absent.
  bool Get(const K& key, V& value) const {
    const Entry* entry = FindEntry(key);
    if (entry == nullptr) return false;
    value = entry->value;
    return true;
  }

  // Unlinks entry from the order chain and its bucket and destroys it; false for null.
  bool Remove(Entry* entry) {
    if (entry == nullptr) return false;
    if (entry->prevInOrder != nullptr) {
      entry->prevInOrder->nextInOrder = entry->nextInOrder;
    } else {
      firstInOrder_ = entry->nextInOrder;
    }
    if (entry->nextInOrder != nullptr) {
      entry->nextInOrder->prevInOrder = entry->prevInOrder;
    } else {
      lastInOrder_ = entry->prevInOrder;
    }
    --count_;
    entry->list->RemoveElement(entry);
    return true;
  }
  bool RemoveKey(const K& key) { return Remove(FindEntry(key)); }

  V* FirstValue() { return ValueOf(firstInOrder_); }
  V* LastValue() { return ValueOf(lastInOrder_); }
  Entry* FirstEntry() { return firstInOrder_; }
  Entry* LastEntry() { return lastInOrder_; }

  // The collection interface over the insertion order.
  bool BeginForward(Cursor& cursor) const override {
    cursor.current = nullptr;
    cursor.next = firstInOrder_;
    cursor.prev = nullptr;
    return count_ > 0;
  }
  bool BeginBackward(Cursor& cursor) const override {
    cursor.current = nullptr;
    cursor.next = nullptr;
    cursor.prev = lastInOrder_;
    return count_ > 0;
  }
  V* First(Cursor& cursor) override {
    BeginForward(cursor);
    return Next(cursor);
  }
  V* Next(Cursor& cursor) override { return StepTo(cursor, static_cast<Entry*>(cursor.next)); }
  V* Last(Cursor& cursor) override {
    BeginBackward(cursor);
    return Prev(cursor);
  }
  V* Prev(Cursor& cursor) override { return StepTo(cursor, static_cast<Entry*>(cursor.prev)); }

  // The entry under a walk's cursor, or null.
  Entry* CurrentEntry(const Cursor& cursor) { return static_cast<Entry*>(cursor.current); }

  V* RandomElement() override {
    if (count_ < 2) return FirstValue();
    Entry* entry = firstInOrder_;
    for (int steps = Random(count_); steps > 0; --steps) entry = entry->nextInOrder;
    return &entry->value;
  }

  V* FirstElement() override { return FirstValue(); }
  V* LastElement() override { return LastValue(); }
  V* CurrentElement(const Cursor& cursor) override { return ValueOf(cursor.current); }
  V* NextElement(const Cursor& cursor) override { return ValueOf(cursor.next); }
  V* PrevElement(const Cursor& cursor) override { return ValueOf(cursor.prev); }

  V* AddLast(const V&) override { TableUnsupportedOperation(TableUnsupported::kAddLastValue); }
  V* AddLast(const V*) override { TableUnsupportedOperation(TableUnsupported::kAddLastPointer); }
  int AddAllLast(const Collection<V>&) override {
    TableUnsupportedOperation(TableUnsupported::kAddAllLast);
  }
  V* AddFirst(const V&) override { TableUnsupportedOperation(TableUnsupported::kAddFirstValue); }
  V* AddFirst(const V*) override { TableUnsupportedOperation(TableUnsupported::kAddFirstPointer); }
  int AddAllFirst(const Collection<V>&) override {
    TableUnsupportedOperation(TableUnsupported::kAddAllFirst);
  }
  void RotateForward(int) override { TableUnsupportedOperation(TableUnsupported::kRotateForward); }
  void RotateBackward(int) override {
    TableUnsupportedOperation(TableUnsupported::kRotateBackward);
  }

  void RemoveAll() override { Clear(); }
  bool RemoveAt(Cursor& cursor) override {
    bool removed = Remove(static_cast<Entry*>(cursor.current));
    cursor.current = nullptr;
    return removed;
  }
  int RemoveFirstN(int n) override {
    int removed = 0;
    while (removed < n && Remove(firstInOrder_)) ++removed;
    return removed;
  }
  bool RemoveFirst() override { return Remove(firstInOrder_); }
  int RemoveLastN(int n) override {
    int removed = 0;
    while (removed < n && Remove(lastInOrder_)) ++removed;
    return removed;
  }
  bool RemoveLast() override { return Remove(lastInOrder_); }
  int KeepFirst(int n) override { return n < 0 ? 0 : RemoveLastN(count_ - n); }
  int KeepLast(int n) override { return n < 0 ? 0 : RemoveFirstN(count_ - n); }

  // Returns the value of the walk's current entry and removes the entry; a default value when
  // there is no current entry.
  V Take(Cursor& cursor) override {
    Entry* entry = static_cast<Entry*>(cursor.current);
    if (entry == nullptr) return V();
    V value = entry->value;
    RemoveAt(cursor);
    return value;
  }

 private:
  static V* ValueOf(void* entry) {
    return entry != nullptr ? &static_cast<Entry*>(entry)->value : nullptr;
  }

  V* StepTo(Cursor& cursor, Entry* entry) {
    cursor.current = entry;
    if (entry == nullptr) return nullptr;
    cursor.next = entry->nextInOrder;
    cursor.prev = entry->prevInOrder;
    return &entry->value;
  }

  void CopyFrom(const HashTable& other) {
    Init(other.bucketCount_);
    for (const Entry* entry = other.firstInOrder_; entry != nullptr; entry = entry->nextInOrder) {
      Set(entry->key, entry->value);
    }
  }

  int count_ = 0;
  int bucketCount_ = 0;
  Vector<BucketList> buckets_;
  Entry* firstInOrder_ = nullptr;
  Entry* lastInOrder_ = nullptr;
};
