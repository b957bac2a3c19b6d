// The background picture kept for the uninstaller, which shows the installer's look.
#pragma once

// Under ProductFlags bit 15, when the background window has a picture: writes it as a bitmap
// file "Installer Background.BMP" in UninstallDir and records it for removal. A picture that
// cannot be written is neither recorded nor reported: the uninstaller then paints its gradient.
void SaveBackgroundPicture();
