// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/image_library.h"

#include <IL/il.h>
#include <IL/ilu.h>

namespace kdx {

namespace {
bool initialised = false;
ILuint images[3] = {0, 0, 0};  // work, chunk, thumbnail
}  // namespace

bool IsImageLibraryInitialised() { return initialised; }

void InitImageLibrary() {
  if (initialised) return;
  initialised = true;
  ilInit();
  iluInit();
  ilGenImages(3, images);
  // Saves through the image library (a frame hook's, a caller's) may
  // replace an existing file.
  ilEnable(IL_FILE_OVERWRITE);
}

void ShutdownImageLibrary() {
  if (!initialised) return;
  ilDeleteImages(3, images);
  images[0] = images[1] = images[2] = 0;
  ilShutDown();
  initialised = false;
}

unsigned int WorkImage() { return images[0]; }
unsigned int ChunkImage() { return images[1]; }
unsigned int ThumbnailImage() { return images[2]; }

}  // namespace kdx
