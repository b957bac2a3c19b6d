// SettingsStore: a hierarchical store of named values, walked one child at a time. The
// registry cursor (platform/registry.h) is the store of this engine; the interface keeps the
// walking of separator paths and the two-way exchange of values apart from any one store.
#pragma once

class Value;

class SettingsStore {
 public:
  // Slot 1: a hook for stores that buffer their writes. Every store here writes through, so
  // it does nothing.
  virtual void Flush() {}
  // Writes the value under name while storing, otherwise reads it into value. True on success.
  virtual bool Exchange(const char* name, Value& value) = 0;
  // Opens (or creates) the child name of the current level and makes it current.
  virtual bool OpenChild(const char* name);
  // Walks path one component at a time with OpenChild. A null path fails. An empty path, or
  // one that begins with the separator, starts at the root (OpenRoot), and fails when there is
  // none. Each component is opened when its separator is reached, so the text after the last
  // separator is not opened: "A\B\C" opens A and then B. False as soon as an open fails.
  virtual bool OpenPath(const char* path);
  // Makes the store's root current; a store without a root refuses.
  virtual bool OpenRoot();

  bool IsStoring() const { return storing_; }
  void SetStoring(bool storing) { storing_ = storing; }
  char Separator() const { return separator_; }

 protected:
  SettingsStore() = default;
  // Not virtual: stores are plain local objects, never deleted through this interface.
  ~SettingsStore() = default;
  SettingsStore(const SettingsStore&) = default;
  SettingsStore& operator=(const SettingsStore&) = default;

 private:
  bool storing_ = false;
  char separator_ = '\\';
};
