// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/DamagedFiles.h"

#include "platform/pictures/PictureDecoder.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace tintaro::test {

namespace {

void put16le(Bytes& b, std::size_t at, unsigned v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void put32le(Bytes& b, std::size_t at, std::uint32_t v) {
    put16le(b, at, v & 0xFFFF);
    put16le(b, at + 2, v >> 16);
}

void put16be(Bytes& b, std::size_t at, unsigned v) {
    b.at(at) = static_cast<std::uint8_t>(v >> 8);
    b.at(at + 1) = static_cast<std::uint8_t>(v);
}

void put32be(Bytes& b, std::size_t at, std::uint32_t v) {
    put16be(b, at, v >> 16);
    put16be(b, at + 2, v & 0xFFFF);
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

void gifSize(Bytes& b, int w, int h) {
    put16le(b, 6, static_cast<unsigned>(w));
    put16le(b, 8, static_cast<unsigned>(h));
    std::size_t at = 13;
    if (b.at(10) & 0x80) {
        at += 3u << ((b[10] & 7) + 1);
    }
    // Extensions until the first image descriptor.
    while (b.at(at) == 0x21) {
        at += 2;
        while (b.at(at) != 0) {
            at += b[at] + 1u;
        }
        ++at;
    }
    if (b.at(at) != 0x2C) {
        throw std::runtime_error("no image descriptor");
    }
    put16le(b, at + 5, static_cast<unsigned>(w));
    put16le(b, at + 7, static_cast<unsigned>(h));
}

void jpegSize(Bytes& b, int w, int h) {
    std::size_t at = 2;
    for (;;) {
        if (b.at(at) != 0xFF) {
            throw std::runtime_error("no frame header");
        }
        const std::uint8_t marker = b.at(at + 1);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            put16be(b, at + 5, static_cast<unsigned>(h));
            put16be(b, at + 7, static_cast<unsigned>(w));
            return;
        }
        at += 2 + (static_cast<std::size_t>(b.at(at + 2)) << 8 | b.at(at + 3));
    }
}

void pngSize(Bytes& b, std::size_t start, int w, int h) {
    put32be(b, start + 16, static_cast<std::uint32_t>(w));
    put32be(b, start + 20, static_cast<std::uint32_t>(h));
    put32be(b, start + 29, crc32(&b.at(start + 12), 17));
}

void icoSize(Bytes& b, int w, int h) {
    b.at(6) = static_cast<std::uint8_t>(w >= 256 ? 0 : w);
    b.at(7) = static_cast<std::uint8_t>(h >= 256 ? 0 : h);
    const std::size_t image =
        b.at(18) | b.at(19) << 8 | b.at(20) << 16 | static_cast<std::size_t>(b.at(21)) << 24;
    if (pictureFormat(std::span(b).subspan(image)) == PictureFormat::Png) {
        pngSize(b, image, w, h);
        return;
    }
    put32le(b, image + 4, static_cast<std::uint32_t>(w));
    put32le(b, image + 8, static_cast<std::uint32_t>(h) * 2);
}

} // namespace

Bytes assetBytes(const std::string& relative) {
    std::ifstream in(std::string(TINTARO_ASSETS) + "/" + relative, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        ADD_FAILURE() << relative << " is missing from the asset tree";
    }
    return bytes;
}

Bytes claimingSize(Bytes file, int width, int height) {
    switch (pictureFormat(file)) {
    case PictureFormat::Gif:
        gifSize(file, width, height);
        break;
    case PictureFormat::Jpeg:
        jpegSize(file, width, height);
        break;
    case PictureFormat::Png:
        pngSize(file, 0, width, height);
        break;
    case PictureFormat::Ico:
        icoSize(file, width, height);
        break;
    case PictureFormat::Unknown:
        throw std::runtime_error("not a picture");
    }
    return file;
}

Bytes flippedBits(Bytes file, unsigned seed, double share) {
    std::mt19937 random(seed);
    const auto count =
        std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(file.size()) * share));
    for (std::size_t i = 0; i < count && !file.empty(); ++i) {
        file[random() % file.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    }
    return file;
}

Bytes flippedByte(Bytes file, std::size_t at, std::uint8_t mask) {
    file.at(at) ^= mask;
    return file;
}

} // namespace tintaro::test
