// SPDX-License-Identifier: GPL-2.0-or-later
// Owning handle for a libswscale context.
#pragma once

#include <memory>

extern "C" {
#include <libswscale/swscale.h>
}

namespace kdx {

struct SwsContextFreer {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFreer>;

}  // namespace kdx
