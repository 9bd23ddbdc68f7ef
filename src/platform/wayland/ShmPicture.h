// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/pictures/Picture.h"
#include "platform/wayland/ShmBuffers.h"

#include <memory>

struct wl_shm;

namespace tintaro {

// A decoded picture in one buffer of shared memory, its colours multiplied
// by their opacity as the compositor wants them: with its transparency kept
// (`alpha`, for cursors), or laid over black. Null when no memory is had.
std::unique_ptr<ShmBuffers> shmPicture(wl_shm* shm, const Picture& picture, bool alpha);

} // namespace tintaro
