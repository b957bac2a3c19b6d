// Self-registration of the COM servers an installation installs.
#pragma once

#include "core/string.h"
#include "core/vector.h"

// The installed COM servers (entries of kind 7), in entry order.
extern Vector<String> ComRegistrationList;

// Loads each server of ComRegistrationList and calls its DllRegisterServer, logging each one in
// InstallLog as "Registering COM File \"path\"..." followed by "OK", "LoadLibrary() Failed" or
// "GetProcAddress() Failed". What the server's function returns is not looked at. Nothing
// happens for an empty list.
void RegisterComServers();
