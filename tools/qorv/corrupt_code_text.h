// A short name for each corrupt-installer code, for messages such as
// "corrupt installer: code 25 (header checksum mismatch)".
#pragma once

// The name of a code of archive/corrupt_codes.h; "unknown code" for any other number.
const char* CorruptCodeText(int code);
