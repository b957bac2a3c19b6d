// The reader and writer interfaces through which all generic block transfer goes: the file
// object, the memory stream and the String stream helpers.
#pragma once

class Reader {
 public:
  virtual ~Reader() = default;
  // Reads exactly n bytes into buffer; false when they could not all be read.
  virtual bool Read(void* buffer, int n) = 0;
};

class Writer {
 public:
  virtual ~Writer() = default;
  // Writes n bytes; false when they could not all be written.
  virtual bool Write(const void* buffer, int n) = 0;
};
