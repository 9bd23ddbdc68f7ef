// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes through the picture codec, as every picture file, cursor and
// scratch file is read at run time. A decoded picture must be whole and of an
// acceptable size; anything else must come back as "unreadable" without a
// crash, a hang or a large allocation (the fuzz script limits all three).

#include "platform/pictures/PictureDecoder.h"
#include "platform/pictures/PictureLimits.h"
#include "platform/sdl/SdlCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tintaro::SdlCodec codec;
    const auto image = codec.decode({data, size});
    if (image && (!tintaro::acceptablePictureSize(image->width, image->height) ||
                  image->pixels.size() != static_cast<std::size_t>(image->width) * image->height)) {
        std::abort();
    }
    return 0;
}
