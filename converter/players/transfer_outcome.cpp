// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/transfer_outcome.h"

#include <cerrno>
#include <cstring>

std::string TransferFailureReason(int error) {
  const std::string detail = std::string(" (") + std::strerror(error) + ").";
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "The player is full" + detail;
    case EROFS:
      return "The player is read-only" + detail;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO:
      return "The player was disconnected or could not be written" + detail;
    case EXDEV:
      return "The player's target folder leads off the player through a link; it is not followed.";
    case EFBIG:
      return "The file is 4 GiB or larger; the player's FAT file system cannot hold it.";
    default:
      return "Copying to the player failed" + detail;
  }
}
