#include "install/background_picture.h"

#include "config/settings.h"
#include "install/install_records.h"
#include "platform/whole_file.h"
#include "ui/background_picture.h"

void SaveBackgroundPicture() {
  if (BackgroundPicture.IsEmpty() ||
      !HasFlag(ProductFlags, ProductFlag::kKeepBackgroundForUninstaller))
    return;
  const String path = RecordPath("Installer Background.BMP");
  if (WriteWholeFile(path, BackgroundPicture.BitmapFileBytes()))
    RecordInstalledPath(path, RecordKind::kFile);
}
