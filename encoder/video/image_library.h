// SPDX-License-Identifier: GPL-2.0-or-later
// The image library's lifetime and the three images the library keeps:
// the work image (current frame), the chunk image (chunk picture) and the
// thumbnail image.
#pragma once

namespace kdx {

bool IsImageLibraryInitialised();
// Initialises IL and ILU, generates the three images and enables
// overwriting; does nothing when already initialised.
void InitImageLibrary();
// Deletes the images and shuts the image library down.
void ShutdownImageLibrary();

unsigned int WorkImage();
unsigned int ChunkImage();
unsigned int ThumbnailImage();

}  // namespace kdx
