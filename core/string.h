// String: the engine's one text type. An 8-bit, counted, always NUL-terminated byte string
// (ANSI code page) that owns its buffer. Positions are 0-based; -1 means "no position";
// kAll (0x7FFFFFFF) means "everything" or "to the end" wherever a length, count or limit is asked.
// Bytes may include NULs inside the counted length (raw data travels in String too); operations
// that take a NUL-terminated argument stop at its first NUL, counted ones do not.
#pragma once

#include <cstdarg>
#include <cstdint>

// <windows.h> maps CompareString to the system's CompareStringA; the engine calls that function
// by its A name, so String's own CompareString keeps its name whichever header comes first.
#ifdef CompareString
#undef CompareString
#endif

template <class T> class Array;
class Reader;
class Writer;

class String {
 public:
  static constexpr int kAll = 0x7FFFFFFF;

  // Flags of Find, FindChar, FindCharReverse, FindLineEnd and Replace.
  static constexpr int kIgnoreCase = 0x0001;
  static constexpr int kWholeWord = 0x0002;
  static constexpr int kWildcard = 0x0004;
  static constexpr int kFirstOnly = 0x0008;  // Replace: result is a position, not a count
  static constexpr int kSkipQuoted = 0x0010;
  static constexpr int kBackward = 0x0020;
  static constexpr int kBreakPosition = 0x0040;  // FindLineEnd: position of the break itself
  static constexpr int kLengthIfNone = 0x0080;   // FindLineEnd: length instead of -1
  static constexpr int kAfterMatch = 0x2000;
  static constexpr int kAnyOf = 0x4000;

  // Flags of Split.
  static constexpr int kKeepEmpty = 0x0001;
  static constexpr int kSplitAtNul = 0x0002;
  static constexpr int kSplitLines = 0x0004;
  static constexpr int kTrimPieces = 0x0008;
  static constexpr int kQuotedRuns = 0x0010;
  static constexpr int kKeepDelimiter = 0x0020;
  static constexpr int kUniquePieces = 0x0100;
  static constexpr int kUnquotePieces = 0x0200;
  static constexpr int kUndoubleQuotes = 0x0400;
  static constexpr int kRepeatedDelimiterJoins = 0x0800;

  String();
  String(const char* text);  // null gives empty
  String(const char* data, int n);
  explicit String(char ch);
  String(const String& other);
  String(String&& other) noexcept;
  ~String();
  String& operator=(const String& other);
  String& operator=(String&& other) noexcept;
  String& operator=(const char* text);

  // Construction and assignment.
  void Assign(const char* src, int n);
  void Assign(const char* src);
  void Assign(const String& other);
  void AssignBounded(const char* src, int max);
  void Adopt(char* heapBuffer, int n);  // buffer from MemAllocate/MemReallocate
  void Clear();

  // Size management.
  void Resize(int n);
  bool TryResize(int n);
  bool SetLengthWithinCapacity(int n);
  char* TryGrow(int n);
  char* Grow(int n);
  void SyncLength();
  void Shrink(int n);

  // The core edit on which every insertion, deletion and replacement rests.
  bool Splice(int pos, int removeCount, int insertCount);
  bool ReplaceRange(int pos, int removeCount, const char* data, int n);
  bool FillRange(int pos, int removeCount, char ch, int n);
  bool Insert(int pos, const char* text, int max = kAll);
  bool Insert(int pos, const String& text, int max = kAll);
  bool InsertChar(char ch, int pos, int count = 1);
  bool Prepend(const char* text);
  bool Erase(int pos, int count = kAll);
  bool EraseFrom(int pos);
  bool Append(const char* text);
  bool Append(const String& text);
  bool Append(const void* data, int n);
  bool AppendChar(char ch);
  String& operator+=(const char* text);
  String& operator+=(const String& text);
  String& operator+=(char ch);

  // Access.
  const char* CStr() const;  // never null
  int Length() const { return length_; }
  int Capacity() const { return capacity_; }
  bool IsEmpty() const { return length_ < 1; }
  // Empty, or nothing but blanks, tabs, CR and LF.
  bool IsBlank() const { return FindFirstNotOf(" \t\r\n") < 0; }
  bool HasBuffer() const { return text_ != nullptr; }
  char CharAt(int i) const;
  char* CharPtrAt(int i);  // out of range is a fatal internal error
  char* Data() { return text_; }
  char FirstChar() const;
  char LastChar() const;
  bool StartsWithChar(char ch) const;
  bool EndsWithChar(char ch) const;
  bool EndsWithLineBreak() const;
  bool ContainsChar(char ch) const;
  bool ContainsWhitespace() const;
  uint32_t ReadU32At(int offset) const;
  bool WriteU16At(int offset, uint16_t v);
  bool WriteU32At(int offset, uint32_t v);
  bool CopyOut(void* dst, int offset, int n) const;
  uint32_t Hash() const;

  // Comparison.
  bool Equals(const String& other) const;
  bool NotEquals(const String& other) const { return !Equals(other); }
  int Compare(const char* s, bool caseSensitive = true, int max = kAll) const;
  int CompareString(const String& s, bool caseSensitive = true, int max = kAll) const;
#ifdef _WIN32
  // Calls written CompareString in a file that includes <windows.h> after this header arrive here.
  int CompareStringA(const String& s, bool caseSensitive = true, int max = kAll) const {
    return CompareString(s, caseSensitive, max);
  }
#endif
  bool IsGreaterThan(const char* s) const;
  bool StartsWith(const char* s, int max = kAll) const;
  bool RemovePrefix(const char* s, int max = kAll);
  bool RemoveSuffix(const char* s, int max = kAll);
  bool ToBool() const;

  // Scanning; each returns a position or -1.
  int Find(const char* needle, int start = 0, int flags = 0, int needleLength = kAll) const;
  int FindChar(char ch, int start = 0, int flags = 0) const;
  int FindCharReverse(char ch, int start = kAll, int flags = 0) const;
  int FindFirstOf(const char* set, int start = 0) const;
  int FindFirstNotOf(const char* set, int start = 0) const;
  int FindNumberStart(int start = 0) const;
  int FindLineEnd(int start = 0, int flags = 0) const;

  // Case and characters.
  void ToUpper();
  int ReplaceChar(char from, char to, bool caseSensitive = true);
  int RemoveChar(char ch, int start = 0, int limit = kAll);
  int RemoveAll(const char* needle, int maxCount = kAll, bool caseSensitive = true);
  int Replace(const char* pattern, const char* value, int flags = 0, int start = 0,
              int maxCount = kAll, int skip = 0);

  // Trimming and edges. A null set means the whitespace set " \r\n\t".
  int TrimLeft(const char* set = nullptr);
  int TrimRight(const char* set = nullptr);
  int Trim();
  int TrimRightChar(char ch);
  int RemoveFirst(int n);
  int RemoveLast(int n);
  int RemoveFirstAndLast(int n);
  bool RemoveFirstIf(char ch);
  bool RemoveLastIf(char ch);
  bool RemoveFirstIfIn(const char* set);
  bool StripEnclosing(char ch);
  void Quote();
  bool PrependCharIfMissing(char ch);
  void EnsureTrailingLineBreak();
  int NormaliseLineBreaks();

  // Substrings and consuming operations.
  String Substring(int start, int count = kAll) const;
  bool CopyRange(String& dst, int count, int start) const;
  String Extract(int start, int count);
  String ExtractFrom(const char* needle, int flags = 0);
  bool TruncateAtChar(char ch);
  String SplitAtChar(char ch);
  char PopFirstChar();
  String TakeLine();
  String TakeLineWithBreak();
  String TakeQuoted(int start = 0, char quote = '"');
  String TakeToken();

  // Appends the pieces to out and returns how many; this string is unchanged. With
  // kUniquePieces repeats are then removed from the whole of out (its earlier entries too) and
  // the result counts the pieces of this string that remain.
  int Split(Array<String>& out, const char* delimiters, int flags = 0) const;

  // Numbers.
  static String FromInt64(int64_t value);
  int ToInt() const;
  int64_t ToInt64() const;
  int ParseIntAt(int& pos) const;  // 0x80000000 when pos is out of range

  // Formatting with printf conventions. Format replaces, AppendFormat appends.
  String& Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  String& AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  String& FormatV(const char* fmt, va_list args);
  String& AppendFormatV(const char* fmt, va_list args);
  static String Formatted(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

  void XorWith(uint32_t key);

  // Stream helpers over the reader and writer interfaces.
  bool ReadCString(Reader& in);
  bool ReadPrefixed8(Reader& in);
  bool ReadPrefixed16(Reader& in);
  bool ReadPrefixed32(Reader& in);
  bool ReadAppend(Reader& in, int n);
  bool WriteCString(Writer& out) const;
  bool WritePrefixed8(Writer& out) const;
  bool WritePrefixed16(Writer& out) const;
  bool WritePrefixed32(Writer& out) const;

 private:
  // Growth reserves this many bytes beyond the requested length (room for the terminator and
  // for short appends); a shrink keeps the buffer while at most kIdleLimit bytes would be idle.
  static constexpr int kGrowthSlack = 21;
  static constexpr int kIdleLimit = 512;
  // The longest text whose buffer size still fits in the 32-bit capacity.
  static constexpr int kMaxLength = kAll - kGrowthSlack;

  // Resize and TryResize: false (string unchanged) when the allocation fails and fatalOnFailure
  // is false; with fatalOnFailure a failure ends the process through the out-of-memory handler.
  bool ResizeBuffer(int n, bool fatalOnFailure);
  // True when p lies inside this string's buffer (the terminator and spare room included).
  bool OwnsPointer(const void* p) const;

  char* text_ = nullptr;
  int32_t length_ = 0;
  int32_t capacity_ = 0;
};

String operator+(const String& a, char b);
String operator+(const String& a, const char* b);
String operator+(const String& a, const String& b);
String operator+(const char* a, const String& b);

// Compares file and product version texts such as "4.10.1998" or "1.2a".
int CompareVersionText(const char* a, const char* b);

// Writes strlen(replacement) bytes to dest: the replacement with each '?' resolved to the byte
// that the corresponding '?' of pattern matched in matched (matched defaults to dest).
void SubstituteWildcards(char* dest, const char* replacement, const char* pattern,
                         const char* matched = nullptr);

// ((rand() << 16) + rand()) masked to 31 bits, reduced modulo n when 2 <= n < kAll; 0 when n < 2;
// unreduced when n is kAll.
int Random(int n);
int RoundUpToMultiple(int v, int m);
