// Drives String through operations with arbitrary positions, counts, flags and texts: none may
// read or write outside its buffers, and the invariants must hold after each.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/array.h"
#include "core/string.h"

namespace {

// Hands out the fuzzer's bytes as numbers and short texts.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return position_ >= size_; }
  uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
  int Number() {
    // Mostly small numbers, sometimes the extremes that guards must reject.
    switch (Byte() % 8) {
      case 0: return -1;
      case 1: return String::kAll;
      case 2: return int(0x80000000u);
      case 3: return int(uint32_t(Byte()) << 24 | uint32_t(Byte()) << 16 | uint32_t(Byte()) << 8 | Byte());
      default: return int(Byte() % 64) - 8;
    }
  }
  String Text() {
    int n = Byte() % 24;
    String text;
    while (n-- > 0 && !Empty()) text.AppendChar(char(Byte()));
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

void CheckInvariants(const String& s) {
  if (s.Length() < 0 || (s.HasBuffer() && s.Length() >= s.Capacity())) std::abort();
  if (s.HasBuffer() && s.CStr()[s.Length()] != '\0') std::abort();
  if (!s.HasBuffer() && s.Length() != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  String s = in.Text();
  Array<String> pieces;
  for (int step = 0; step < 64 && !in.Empty(); ++step) {
    String arg = in.Text();
    switch (in.Byte() % 24) {
      case 0: s.Insert(in.Number(), arg, in.Number()); break;
      case 1: s.Erase(in.Number(), in.Number()); break;
      case 2: s.ReplaceRange(in.Number(), in.Number(), arg.CStr(), arg.Length()); break;
      case 3: s.Find(arg.CStr(), in.Number(), in.Number(), in.Byte() % 2 ? String::kAll : arg.Length()); break;
      case 4: s.Replace(arg.CStr(), in.Text().CStr(), in.Number() & 0x1F, in.Number(), in.Number(), in.Number()); break;
      case 5: s.Split(pieces, arg.CStr(), in.Number() & 0xFFF); break;
      case 6: s.FindLineEnd(in.Number(), in.Number()); break;
      case 7: s.TakeQuoted(in.Number(), char(in.Byte())); break;
      case 8: s.TakeToken(); break;
      case 9: s.TakeLine(); break;
      case 10: s = s.Substring(in.Number(), in.Number()); break;
      case 11:  // a piece of its own text, with any count: clipped to the bytes it holds
        if (s.Length() > 0) s.Assign(s.CStr() + in.Byte() % s.Length(), in.Number());
        break;
      case 12: s.FillRange(in.Number(), in.Number(), char(in.Byte()), in.Number() % 4096); break;
      case 13: s.Resize(in.Number() % 4096); break;
      case 14: s.FindCharReverse(char(in.Byte()), in.Number(), in.Number()); break;
      case 15: s.NormaliseLineBreaks(); break;
      case 16: s.RemoveAll(arg.CStr(), in.Number(), in.Byte() % 2); break;
      case 17: s.ReadU32At(in.Number()); s.WriteU32At(in.Number(), 0xDEADBEEF); break;
      case 18: { char out[8]; s.CopyOut(out, in.Number(), in.Number() % 9); break; }
      case 19: { int pos = in.Number(); s.ParseIntAt(pos); break; }
      case 20: CompareVersionText(s.CStr(), arg.CStr()); break;
      case 21: s.Compare(arg.CStr(), in.Byte() % 2, in.Number()); break;
      case 22: s.Trim(); s.TrimRightChar(char(in.Byte())); break;
      case 23: s.XorWith(uint32_t(in.Number())); break;
    }
    CheckInvariants(s);
  }
  return 0;
}
