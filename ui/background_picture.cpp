#include "ui/background_picture.h"

#include "config/settings.h"

DibImage BackgroundPicture;

bool LoadBackgroundPicture() { return BackgroundPicture.Load(BackgroundBitmap); }

bool LoadBackgroundPictureFile(const String& fileBytes) {
  return BackgroundPicture.LoadBitmapFile(fileBytes);
}
