// SPDX-License-Identifier: GPL-3.0-or-later

#include "IcoWriter.h"

#include <fstream>
#include <stdexcept>

namespace artgen {

namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

void writeIco(const std::filesystem::path& path, const Surface& surface) {
    const int w = surface.width();
    const int h = surface.height();
    if (w > 256 || h > 256) {
        throw std::runtime_error("an icon is at most 256 x 256: " + path.string());
    }
    const std::vector<std::uint8_t> rgba = surface.rgba();
    const int maskStride = ((w + 31) / 32) * 4;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(w * h * 4);
    const std::uint32_t maskBytes = static_cast<std::uint32_t>(maskStride * h);
    const std::uint32_t imageBytes = 40 + pixelBytes + maskBytes;

    std::string out;
    put16(out, 0); // reserved
    put16(out, 1); // type: icon
    put16(out, 1); // one image
    out += static_cast<char>(w == 256 ? 0 : w);
    out += static_cast<char>(h == 256 ? 0 : h);
    out += '\0';    // no palette
    out += '\0';    // reserved
    put16(out, 1);  // colour planes
    put16(out, 32); // bits per pixel
    put32(out, imageBytes);
    put32(out, 6 + 16); // offset of the image data

    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows together.
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(h * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // no compression
    put32(out, pixelBytes + maskBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            out += static_cast<char>(p[2]);
            out += static_cast<char>(p[1]);
            out += static_cast<char>(p[0]);
            out += static_cast<char>(p[3]);
        }
    }
    // AND mask: 1 marks a transparent pixel, for readers that ignore the alpha channel.
    for (int y = h - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(maskStride), '\0');
        for (int x = 0; x < w; ++x) {
            if (rgba[(static_cast<std::size_t>(y) * w + x) * 4 + 3] < 128) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out += row;
    }

    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace artgen
