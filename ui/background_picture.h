// The picture that, when present, replaces the background window's gradient.
#pragma once

#include "core/string.h"
#include "ui/dib_image.h"

// Empty unless one of the loaders below found a drawable picture. Loaded before the background
// window is created; unchanged afterwards.
extern DibImage BackgroundPicture;

// The installer's picture: the archive header's BackgroundBitmap bytes (information header,
// colour table, pixels). True when a picture was loaded.
bool LoadBackgroundPicture(const String& bitmap);

// The uninstaller's picture: the whole file the installation left beside it, a bitmap file
// starting with "BM". True when a picture was loaded.
bool LoadBackgroundPictureFile(const String& fileBytes);
