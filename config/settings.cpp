#include "config/settings.h"

bool AutomaticMode = false;
String InstallDir;
String ProductName;
String SharedPath;
bool UninstallMode = false;
uint64_t ProductFlags = 0;
uint32_t TitleColor = 0;
uint32_t TopColor = 0;
uint32_t BottomColor = 0;
bool MonoColor = true;
uint8_t TitleShadow = 1;
bool FullScreenBackground = false;
String DisplayVersion;
String UninstallSubdir;
String ProductStartMenu;
String DefaultInstallDir;
String UninstallKeyName;
