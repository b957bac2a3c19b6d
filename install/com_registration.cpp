#include "install/com_registration.h"

#include <windows.h>
#include <objbase.h>

#include <cstdint>

#include "install/install_state.h"

Vector<String> ComRegistrationList;

namespace {

using RegisterServerFunction = HRESULT(STDAPICALLTYPE*)();

// LoadLibraryA of the 16-bit heritage: handles below 32 are error codes, not modules.
constexpr uintptr_t kSmallestModuleHandle = 32;

void RegisterServer(const String& path) {
  InstallLog.AppendFormat("Registering COM File \"%s\"...", path.CStr());
  HMODULE module = LoadLibraryA(path.CStr());
  if (reinterpret_cast<uintptr_t>(module) < kSmallestModuleHandle) {
    InstallLog += "LoadLibrary() Failed\r\n";
    return;
  }
  // Through void (*)(): the one cast that lets a looked-up address take its real type.
  auto registerServer = reinterpret_cast<RegisterServerFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer")));
  if (registerServer == nullptr) {
    InstallLog += "GetProcAddress() Failed\r\n";
  } else {
    registerServer();
    InstallLog += "OK\r\n";
  }
  FreeLibrary(module);
}

}  // namespace

void RegisterComServers() {
  if (ComRegistrationList.Count() == 0) return;
  CoInitialize(nullptr);
  for (int i = 0; i < ComRegistrationList.Count(); ++i) RegisterServer(ComRegistrationList[i]);
  CoUninitialize();
}
