// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tintaro {

// Has the allocator give every large block (a decoded picture, a frame, a
// printed page) a mapping of its own, returned to the system when freed.
void keepLargeBlocksMapped();

} // namespace tintaro
