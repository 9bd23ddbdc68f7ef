// SPDX-License-Identifier: GPL-3.0-or-later

#include "PictureWriters.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace tintaro::test {

namespace {

std::uint8_t red(std::uint32_t c) {
    return static_cast<std::uint8_t>(c >> 16);
}
std::uint8_t green(std::uint32_t c) {
    return static_cast<std::uint8_t>(c >> 8);
}
std::uint8_t blue(std::uint32_t c) {
    return static_cast<std::uint8_t>(c);
}
std::uint8_t alpha(std::uint32_t c) {
    return static_cast<std::uint8_t>(c >> 24);
}

int appendGif(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void appendPng(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void le16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void le32(Bytes& b, std::uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}

// The distinct colours of a picture, in order of first appearance.
std::vector<std::uint32_t> paletteOf(const Picture& picture) {
    std::vector<std::uint32_t> palette;
    for (std::uint32_t c : picture.argb) {
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) {
            palette.push_back(c);
        }
    }
    return palette;
}

} // namespace

Picture patternPicture(int w, int h, bool withAlpha) {
    Picture picture{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto n = static_cast<std::uint32_t>(x * 7 + y * 13 + x * y);
            const std::uint32_t a = withAlpha ? (n * 37) % 5 * 255 / 4 : 255;
            picture.argb[static_cast<std::size_t>(y) * w + x] =
                a << 24 | ((n * 53) & 0xFF) << 16 | ((n * 101 + 5) & 0xFF) << 8 | ((n * 29 + 9) & 0xFF);
        }
    }
    return picture;
}

Bytes writeGif(const GifSpec& spec) {
    int bits = 1;
    while ((1 << bits) < static_cast<int>(spec.palette.size())) {
        ++bits;
    }
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    for (std::size_t i = 0; i < spec.palette.size(); ++i) {
        map->Colors[i] = {red(spec.palette[i]), green(spec.palette[i]), blue(spec.palette[i])};
    }
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGif, &error);
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, bits, 0,
                                spec.localPalette ? nullptr : map) == GIF_OK;
    if (spec.transparent >= 0) {
        GraphicsControlBlock control{};
        control.TransparentColor = spec.transparent;
        GifByteType block[4];
        const auto length = EGifGCBToExtension(&control, block);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, spec.width, spec.height, spec.interlaced,
                                spec.localPalette ? map : nullptr) == GIF_OK;
    // An interlaced image is written in the order of its four passes.
    std::vector<int> rows;
    if (spec.interlaced) {
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
            for (int y = start; y < spec.height; y += step) {
                rows.push_back(y);
            }
        }
    } else {
        for (int y = 0; y < spec.height; ++y) {
            rows.push_back(y);
        }
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(spec.width));
    for (int y : rows) {
        std::copy_n(&spec.indices[static_cast<std::size_t>(y) * spec.width], spec.width, line.begin());
        ok = ok && EGifPutLine(gif, line.data(), spec.width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    if (!ok) {
        throw std::runtime_error("GIF writer failed");
    }
    return out;
}

Bytes writePng(const Picture& picture, PngKind kind, int depth, bool interlaced) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG writer failed");
    }
    png_set_write_fn(png, &out, appendPng, nullptr);
    const int types[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                         PNG_COLOR_TYPE_RGBA, PNG_COLOR_TYPE_PALETTE};
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 depth, types[static_cast<int>(kind)], interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::map<std::uint32_t, int> index;
    if (kind == PngKind::Palette) {
        const auto palette = paletteOf(picture);
        std::vector<png_color> colours;
        std::vector<png_byte> alphas;
        for (std::uint32_t c : palette) {
            index[c] = static_cast<int>(colours.size());
            colours.push_back({red(c), green(c), blue(c)});
            alphas.push_back(alpha(c));
        }
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    png_write_info(png, info);
    // Samples of `depth` bits, packed as PNG packs them, big-endian.
    const int channels[] = {1, 2, 3, 4, 1};
    const int perPixel = channels[static_cast<int>(kind)];
    std::vector<std::vector<png_byte>> rows(static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        auto& row = rows[static_cast<std::size_t>(y)];
        row.assign((static_cast<std::size_t>(picture.width) * perPixel * depth + 7) / 8, 0);
        std::size_t bit = 0;
        auto put = [&](unsigned sample8) {
            const unsigned value = depth == 16 ? sample8 * 257 : sample8 >> (8 - depth);
            if (depth == 16) {
                row[bit / 8] = static_cast<png_byte>(value >> 8);
                row[bit / 8 + 1] = static_cast<png_byte>(value);
            } else {
                row[bit / 8] = static_cast<png_byte>(row[bit / 8] | value << (8 - depth - bit % 8));
            }
            bit += static_cast<std::size_t>(depth);
        };
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.argb[static_cast<std::size_t>(y) * picture.width + x];
            switch (kind) {
            case PngKind::Grey:
                put(red(c));
                break;
            case PngKind::GreyAlpha:
                put(red(c));
                put(alpha(c));
                break;
            case PngKind::Rgb:
                put(red(c));
                put(green(c));
                put(blue(c));
                break;
            case PngKind::Rgba:
                put(red(c));
                put(green(c));
                put(blue(c));
                put(alpha(c));
                break;
            case PngKind::Palette:
                // Indices are written as they are, not scaled from 8 bits.
                put(static_cast<unsigned>(index[c]) << (8 - depth));
                break;
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (auto& row : rows) {
        pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes writeJpeg(const Picture& picture, JpegKind kind) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    const bool grey = kind == JpegKind::Grey;
    const bool cmyk = kind == JpegKind::AdobeCmyk;
    cinfo.input_components = grey ? 1 : cmyk ? 4 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (cmyk) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = TRUE;
    }
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    std::vector<jpeg_scan_info> scans;
    if (kind == JpegKind::Progressive) {
        jpeg_simple_progression(&cinfo);
    } else if (kind == JpegKind::OneScanPerCoefficient) {
        // The DC coefficients of all components, then each AC coefficient of
        // each component on its own: 1 + 63 x 3 scans.
        scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
        for (int component = 0; component < 3; ++component) {
            for (int k = 1; k < 64; ++k) {
                scans.push_back({1, {component, 0, 0, 0}, k, k, 0, 0});
            }
        }
        cinfo.scan_info = scans.data();
        cinfo.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const auto y = static_cast<std::size_t>(cinfo.next_scanline);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c =
                picture.argb[y * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)];
            JSAMPLE* p = &row[static_cast<std::size_t>(x) * static_cast<std::size_t>(cinfo.input_components)];
            if (grey) {
                p[0] = red(c);
            } else if (cmyk) {
                // No black ink; Adobe stores every ink inverted.
                p[0] = red(c);
                p[1] = green(c);
                p[2] = blue(c);
                p[3] = 255;
            } else {
                p[0] = red(c);
                p[1] = green(c);
                p[2] = blue(c);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

Bytes writeIco(const std::vector<IcoImage>& images) {
    std::vector<Bytes> bodies;
    for (const auto& image : images) {
        const Picture& p = image.picture;
        if (image.png) {
            bodies.push_back(writePng(p, PngKind::Rgba, 8, false));
            continue;
        }
        const int depth = image.depth;
        // The palette holds colours; transparency is the mask's.
        Picture colours = p;
        for (auto& c : colours.argb) {
            c &= 0xFFFFFF;
        }
        const auto palette = depth <= 8 ? paletteOf(colours) : std::vector<std::uint32_t>{};
        const std::size_t stride = (static_cast<std::size_t>(p.width) * depth + 31) / 32 * 4;
        const std::size_t maskStride = (static_cast<std::size_t>(p.width) + 31) / 32 * 4;
        Bytes b;
        le32(b, 40);
        le32(b, static_cast<std::uint32_t>(p.width));
        le32(b, static_cast<std::uint32_t>(p.height * 2));
        le16(b, 1);
        le16(b, static_cast<unsigned>(depth));
        le32(b, 0);
        le32(b, static_cast<std::uint32_t>((stride + maskStride) * static_cast<std::size_t>(p.height)));
        le32(b, 0);
        le32(b, 0);
        le32(b, static_cast<std::uint32_t>(palette.size()));
        le32(b, 0);
        for (std::uint32_t c : palette) {
            le32(b, c & 0xFFFFFF);
        }
        for (int y = p.height - 1; y >= 0; --y) {
            Bytes row(stride, 0);
            for (int x = 0; x < p.width; ++x) {
                const std::uint32_t c = p.argb[static_cast<std::size_t>(y) * p.width + x];
                const auto at = static_cast<std::size_t>(x) * static_cast<std::size_t>(depth);
                if (depth <= 8) {
                    const auto i = static_cast<unsigned>(
                        std::find(palette.begin(), palette.end(), c & 0xFFFFFF) - palette.begin());
                    row[at / 8] = static_cast<std::uint8_t>(row[at / 8] | i << (8 - depth - at % 8));
                } else {
                    row[at / 8] = blue(c);
                    row[at / 8 + 1] = green(c);
                    row[at / 8 + 2] = red(c);
                    if (depth == 32) {
                        row[at / 8 + 3] = alpha(c);
                    }
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
        for (int y = p.height - 1; y >= 0; --y) {
            Bytes row(maskStride, 0);
            for (int x = 0; x < p.width; ++x) {
                if (alpha(p.argb[static_cast<std::size_t>(y) * p.width + x]) < 128) {
                    row[static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
        bodies.push_back(std::move(b));
    }
    Bytes out;
    le16(out, 0);
    le16(out, 1);
    le16(out, static_cast<unsigned>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const Picture& p = images[i].picture;
        out.push_back(static_cast<std::uint8_t>(p.width >= 256 ? 0 : p.width));
        out.push_back(static_cast<std::uint8_t>(p.height >= 256 ? 0 : p.height));
        out.push_back(0);
        out.push_back(0);
        le16(out, 1);
        le16(out, static_cast<unsigned>(images[i].depth));
        le32(out, static_cast<std::uint32_t>(bodies[i].size()));
        le32(out, static_cast<std::uint32_t>(offset));
        offset += bodies[i].size();
    }
    for (const auto& body : bodies) {
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

} // namespace tintaro::test
