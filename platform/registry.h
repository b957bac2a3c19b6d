// Registry: the cursor through which all registry work goes. It holds one open key at a time
// and remembers, on two stacks, the key and display path that were current before each open,
// so that opening a subkey and closing it again returns to the parent. Values travel as Value
// or as plain integers and texts; key trees are enumerated and deleted depth first.
//
// Failures are results (false, -1, Failed, NotFound, the caller's default) and are silent,
// except where a flag asks otherwise: RegReportErrors shows the system's text for a failed
// open, create or key deletion in a "Registry Error" box, and RegRequired makes a missing
// value a fatal error. A failed open, create or key deletion also leaves its error code as the
// thread's last error.
//
// Display paths are for messages only. Opening under one of the five predefined roots starts
// the path with the root's name and a backslash; the subkey text is then appended exactly as
// given, without a separator, so Sub opened under HKEY_LOCAL_MACHINE\Software\A displays as
// HKEY_LOCAL_MACHINE\Software\ASub.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/array.h"
#include "core/stack.h"
#include "core/string.h"
#include "platform/settings_store.h"

class Value;

// Flags, combined in the one word most operations take.
inline constexpr uint32_t RegRequired = 0x02;       // reading: a missing value is fatal
inline constexpr uint32_t RegDeleteIfEmpty = 0x08;  // writing: empty or zero deletes the value
inline constexpr uint32_t RegReportErrors = 0x10;   // failed open, create, key deletion: a box
inline constexpr uint32_t RegOnlyIfEmpty = 0x20;    // key deletion: refuse keys with content
inline constexpr uint32_t RegOpenOnly = 0x40;       // open existing keys only, never create
inline constexpr uint32_t RegBinary = 0x80;         // writing text: REG_BINARY
inline constexpr uint32_t RegExpand = 0x100;        // writing text: REG_EXPAND_SZ (not with binary)
// Open an existing key for reading only (implies RegOpenOnly): reads must work for a user who
// may not write the key, and must not leave a key behind where there was none.
inline constexpr uint32_t RegReadOnly = 0x200;

enum class OpenResult { Failed = 0, Existed = 1, Created = 2 };
enum class DeleteResult { Deleted = 1, NotFound = 2, Failed = 3, NotEmpty = 4 };

class Registry final : public SettingsStore {
 public:
  Registry() = default;
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // SettingsStore: SetValue(name, value, 0) while storing, else QueryValue(name, value, 0);
  // OpenChild is OpenSub(name, 0), true unless it failed.
  bool Exchange(const char* name, Value& value) override;
  bool OpenChild(const char* name) override;

  // Opening and closing; every open that does not fail must be matched by one Close.
  // Open: parent is a predefined root or an open key. Without RegOpenOnly the key is created
  // when missing (Created), else opened (Existed); with it, only an existing key is opened
  // (always Existed), with full access, or with read access only under RegReadOnly. On
  // failure the cursor is unchanged.
  OpenResult Open(HKEY parent, const char* subkey, uint32_t flags = 0);
  // Open relative to the current key; Failed when no key is open.
  OpenResult OpenSub(const char* subkey, uint32_t flags = 0);
  // Open of "Software\<subkey>" under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE.
  OpenResult OpenSoftware(const char* subkey, bool currentUser, uint32_t flags = 0);
  // Closes the current key (if any) and makes the key and path before it current again.
  void Close();
  // Closes every key still open.
  void CloseKeys();
  String CurrentPath() const { return path_; }
  HKEY CurrentKey() const { return key_; }

  // Queries of keys.
  // Whether "Software\<subkey>" exists (opens for reading) under the chosen root; false for a
  // null subkey, the Software key itself for an empty one. The cursor is not involved.
  static bool SoftwareKeyExists(const char* subkey, bool currentUser);
  // Subkeys of the current key; -1 when no key is open or the query fails.
  int32_t CountSubKeys() const;
  bool HasSubKeys() const { return CountSubKeys() > 0; }
  // Neither subkeys nor values; also true when no key is open or the query fails.
  bool IsKeyEmpty() const;
  // IsKeyEmpty of the existing subkey name, opened for reading; true when it cannot be opened.
  bool IsSubKeyEmpty(const char* name);
  // Appends the names of the current key's subkeys to out in enumeration order and returns
  // how many were added; 0 when no key is open or out is null. Enumeration stops at the first
  // error; the thread's last error is then 0 when the list simply ended, else the error code.
  int32_t EnumSubKeys(Array<String>* out) const;
  bool ValueExists(const char* name) const;

  // Reading from the current key.
  // REG_SZ gives its text without the terminator; REG_EXPAND_SZ, REG_BINARY and REG_MULTI_SZ
  // give their bytes exactly as stored (terminators included); REG_DWORD of 4 bytes gives a
  // signed 32-bit integer. Any other type or DWORD size fails with out unchanged. A value
  // longer than 32 bytes is read by a second query into a buffer of its size, as text of any
  // type (REG_SZ and REG_MULTI_SZ drop one terminator); if that query fails, out is the empty
  // text. A missing value with RegRequired ends the process with the required-value message.
  bool QueryValue(const char* name, Value& out, uint32_t flags = 0);
  // The value's truth, integer or text; the default when the query fails.
  bool ReadBool(const char* name, bool defaultValue, uint32_t flags = 0);
  int32_t ReadInt(const char* name, int32_t defaultValue, uint32_t flags = 0);
  String ReadString(const char* name, const char* defaultText, uint32_t flags = 0);
  // Opens the existing key parent\keyPath for reading (RegReadOnly, whatever flags say: a read
  // never creates a key), reads valueName as text into out (empty when the value is missing),
  // closes the key again. False only when the key cannot be opened.
  bool ReadKeyValue(HKEY parent, const char* keyPath, const char* valueName, String& out,
                    uint32_t flags = 0);
  // path is "key path\value name", split at its last backslash (a path without one is a value
  // name of parent itself). The default when nothing follows the last backslash or the key
  // cannot be opened; otherwise ReadKeyValue's text.
  String ReadPathValue(HKEY parent, const char* path, const char* defaultText, uint32_t flags = 0);

  // Writing to the current key; false when no key is open or the write fails.
  // Nothing deletes the value (true); so does, with RegDeleteIfEmpty, an empty or zero value.
  // An integer is written as REG_DWORD, anything else as its text by SetString.
  bool SetValue(const char* name, const Value& value, uint32_t flags = 0);
  // REG_DWORD; with RegDeleteIfEmpty, 0 deletes the value instead (true).
  bool SetDword(const char* name, uint32_t value, uint32_t flags = 0);
  bool SetBool(const char* name, bool value);
  // REG_SZ, REG_EXPAND_SZ with RegExpand, REG_BINARY with RegBinary; the length written leaves
  // out the terminator (the system stores one for the string types). With RegDeleteIfEmpty an
  // empty or null text deletes the value instead: true when there was one to delete.
  bool SetText(const char* name, const char* text, uint32_t flags = 0);
  bool SetString(const char* name, const String& text, uint32_t flags = 0);

  // Deleting.
  DeleteResult DeleteValue(const char* name);
  // Deletes the subkey tree name of the current key, children first. NotFound when no key is
  // open or name is null; NotEmpty (nothing deleted) with RegOnlyIfEmpty when the subkey has
  // subkeys or values; otherwise Deleted or Failed by the deletion of name itself.
  DeleteResult DeleteSubKey(const char* name, uint32_t flags = 0);
  // DeleteSubKey(name) under the existing key parent\keyPath; NotFound when that cannot be
  // opened.
  DeleteResult DeleteKey(HKEY parent, const char* keyPath, const char* name, uint32_t flags = 0);
  // DeleteKey with path split at its last backslash; NotFound when nothing follows it.
  DeleteResult DeleteKeyPath(HKEY parent, const char* path, uint32_t flags = 0);
  DeleteResult DeleteSoftwareKey(const char* path, bool currentUser, uint32_t flags = 0);
  DeleteResult DeleteSoftwareSubKey(const char* keyPath, const char* name, bool currentUser,
                                    uint32_t flags = 0);

 private:
  static HKEY SoftwareRoot(bool currentUser);
  static String SoftwarePath(const char* subkey);
  // Splits path at its last backslash; false when no name follows it.
  static bool SplitLastComponent(const char* path, String& keyPath, String& name);
  // With RegReportErrors: the system's text for the thread's last error in a "Registry Error"
  // box, unless that text is empty.
  static void ReportFailure(uint32_t flags);
  // The fatal stop for a required value that is missing; does not return.
  [[noreturn]] void RequiredValueMissing(const char* name) const;
  // The write of raw data of one type; false when no key is open or the write fails.
  bool WriteValue(const char* name, DWORD type, const void* data, DWORD size);

  HKEY key_ = nullptr;
  String path_;
  Stack<HKEY> previousKeys_;
  Stack<String> previousPaths_;
};
