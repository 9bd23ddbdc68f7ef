// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Damaged and hostile variants of real picture files, made in the test from
// the shipped ones: the same length, so the start-up check passes them.

#include "platform/Platform.h"

#include <string>

namespace tintaro::test {

// The file at `relative` under the shipped asset tree.
Bytes assetBytes(const std::string& relative);

// The file with the picture size its header announces changed to
// width x height (GIF screen and first image, JPEG frame, PNG header with its
// checksum, ICO directory and bitmap or PNG header); the length stays.
Bytes claimingSize(Bytes file, int width, int height);

// The file with one bit flipped in `share` of its bytes (at least one byte),
// chosen from `seed`.
Bytes flippedBits(Bytes file, unsigned seed, double share);

// The file with byte `at` XOR-ed with `mask`.
Bytes flippedByte(Bytes file, std::size_t at, std::uint8_t mask);

} // namespace tintaro::test
