#include "ui/background_picture.h"

DibImage BackgroundPicture;

bool LoadBackgroundPicture(const String& bitmap) { return BackgroundPicture.Load(bitmap); }

bool LoadBackgroundPictureFile(const String& fileBytes) {
  return BackgroundPicture.LoadBitmapFile(fileBytes);
}
