// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One decoder per file format. Each reads the picture's size from its header
// and refuses it (nullopt) before allocating pixels when the size is not
// acceptable, reads only the bytes it is given, and returns nullopt for
// anything it cannot read. None of them prints anything.

#include "platform/pictures/Picture.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tintaro {

// The first image of a GIF, at its own size; the transparent index becomes alpha 0.
std::optional<Picture> decodeGif(std::span<const std::uint8_t> bytes);
// Any PNG, expanded to 8-bit RGBA.
std::optional<Picture> decodePng(std::span<const std::uint8_t> bytes);
// Baseline or progressive JPEG, greyscale, colour or CMYK; opaque.
std::optional<Picture> decodeJpeg(std::span<const std::uint8_t> bytes);
// The largest image of an ICO or CUR file: a BMP with its AND mask, or a PNG.
std::optional<Picture> decodeIco(std::span<const std::uint8_t> bytes);

} // namespace tintaro
