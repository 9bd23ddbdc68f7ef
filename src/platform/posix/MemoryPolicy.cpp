// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/MemoryPolicy.h"

#include <malloc.h>

namespace tintaro {

// Pictures are decoded into blocks of up to a few megabytes that come and go
// with every drawing, background and printed page. glibc raises its mapping
// threshold to the size of the first such block freed, and from then on they
// come from the heap, where a freed block held in place by smaller, longer
// lived ones is never given back: the resident size grew with every drawing a
// child opened. A fixed threshold keeps each large block a mapping of its own.
void keepLargeBlocksMapped() {
    constexpr int kLargeBlock = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
}

} // namespace tintaro
