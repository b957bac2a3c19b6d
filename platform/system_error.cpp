#include "platform/system_error.h"

#include <windows.h>

String SystemErrorText(uint32_t code) {
  String message;
  if (code == 0) return message;
  char* text = nullptr;
  // Inserts are ignored: some system texts hold %1-style inserts, and no arguments are given.
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, LANG_USER_DEFAULT, reinterpret_cast<char*>(&text), 0, nullptr);
  if (length > 0 && text != nullptr) message.Assign(text, int(length));
  if (text != nullptr) LocalFree(text);
  return message;
}
