// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FrameScaler.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cmath>
#include <thread>
#include <vector>

namespace tintaro {

namespace {

// 0x00BBGGRR (the program's colour) to 0x00RRGGBB (the window's pixels).
inline std::uint32_t toXrgb(std::uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Weights in 128ths, as SDL's own linear scaling has them: a family that
// upgrades sees the same smoothing as before, to a level.
constexpr int kWeightBits = 7;
constexpr int kWhole = 1 << kWeightBits;
// Target pixels from which a part is worth sharing among the cores, and how
// many cores besides the caller's take a share.
constexpr std::int64_t kSharedArea = 1 << 19;
constexpr int kMostHelpers = 3;

// Mixes two colours, `w` of kWhole parts the second; red and blue in one go.
inline std::uint32_t mix(std::uint32_t a, std::uint32_t b, int w) {
    const auto keep = static_cast<std::uint32_t>(kWhole - w);
    const auto take = static_cast<std::uint32_t>(w);
    const std::uint32_t rb = (((a & 0xFF00FF) * keep + (b & 0xFF00FF) * take) >> kWeightBits) & 0xFF00FF;
    const std::uint32_t g = (((a & 0x00FF00) * keep + (b & 0x00FF00) * take) >> kWeightBits) & 0x00FF00;
    return rb | g;
}

// Mixes two rows of n colours, `w` of kWhole parts the lower one, into out:
// four pixels at a time in 16-bit lanes where the processor has SSE2.
void mixRows(const std::uint32_t* upper, const std::uint32_t* lower, int n, int w, std::uint32_t* out) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i keep = _mm_set1_epi16(static_cast<short>(kWhole - w));
    const __m128i take = _mm_set1_epi16(static_cast<short>(w));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
        // 255 * 128 fits a 16-bit lane, so nothing overflows.
        const __m128i low = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), keep),
                                                         _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), take)),
                                           kWeightBits);
        const __m128i high = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), keep),
                                                          _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), take)),
                                            kWeightBits);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < n; ++i) {
        out[i] = mix(upper[i], lower[i], w);
    }
}

} // namespace

std::vector<FrameScaler::Tap> FrameScaler::taps(int source, int target) {
    std::vector<Tap> out(static_cast<std::size_t>(std::max(target, 0)));
    // Pixel centres onto pixel centres, in 16.16 fixed point with the step
    // rounded down, as SDL's own scaling has them: at the same size every
    // tap lands on its own pixel with no weight on the next.
    const std::int64_t step = (static_cast<std::int64_t>(source) << 16) / std::max(target, 1);
    const std::int64_t first = (static_cast<std::int64_t>(0x8000) * source) / std::max(target, 1) - 0x8000;
    for (int i = 0; i < target; ++i) {
        const std::int64_t at = first + i * step;
        const std::int64_t clamped =
            std::clamp<std::int64_t>(at, 0, static_cast<std::int64_t>(source - 1) << 16);
        const int index = static_cast<int>(clamped >> 16);
        out[static_cast<std::size_t>(i)] = {index, std::min(index + 1, source - 1),
                                            static_cast<int>((clamped & 0xFFFF) >> (16 - kWeightBits))};
    }
    return out;
}

void FrameScaler::setSizes(int frameWidth, int frameHeight, int targetWidth, int targetHeight,
                           int targetStride) {
    m_stride = targetStride > 0 ? targetStride : targetWidth;
    if (frameWidth == m_frameWidth && frameHeight == m_frameHeight && targetWidth == m_targetWidth &&
        targetHeight == m_targetHeight) {
        return;
    }
    m_frameWidth = frameWidth;
    m_frameHeight = frameHeight;
    m_targetWidth = targetWidth;
    m_targetHeight = targetHeight;
    if (frameWidth <= 0 || frameHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        m_place = {};
        m_columns.clear();
        m_rows.clear();
        return;
    }
    // The largest size of the frame's shape that fits, centred.
    int w = targetWidth;
    int h = static_cast<int>(static_cast<std::int64_t>(targetWidth) * frameHeight / frameWidth);
    if (h > targetHeight) {
        h = targetHeight;
        w = static_cast<int>(static_cast<std::int64_t>(targetHeight) * frameWidth / frameHeight);
    }
    m_place = {(targetWidth - w) / 2, (targetHeight - h) / 2, w, h};
    m_columns = taps(frameWidth, w);
    m_rows = taps(frameHeight, h);
}

void FrameScaler::reach(const std::vector<Tap>& taps, int from, int to, int placedAt, int& first, int& last) {
    // A target pixel reads source pixels index and index + 1, and the taps
    // run in order: those that read [from, to) are the ones whose index
    // falls in [from - 1, to).
    const auto begin = std::lower_bound(taps.begin(), taps.end(), from - 1,
                                        [](const Tap& t, int index) { return t.index < index; });
    const auto end =
        std::lower_bound(begin, taps.end(), to, [](const Tap& t, int index) { return t.index < index; });
    first = placedAt + static_cast<int>(begin - taps.begin());
    last = placedAt + static_cast<int>(end - taps.begin());
}

Rect FrameScaler::draw(const Image& frame, const Rect& area, std::uint32_t* target) const {
    if (m_place.empty() || frame.width != m_frameWidth || frame.height != m_frameHeight) {
        return {};
    }
    const Rect inside = clipTo(area, m_frameWidth, m_frameHeight);
    if (inside.empty()) {
        return {};
    }
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    reach(m_columns, inside.x, inside.x + inside.w, m_place.x, x0, x1);
    reach(m_rows, inside.y, inside.y + inside.h, m_place.y, y0, y1);
    const auto area64 = static_cast<std::int64_t>(x1 - x0) * (y1 - y0);
    const int helpers =
        area64 < kSharedArea
            ? 0
            : std::min(kMostHelpers, static_cast<int>(std::thread::hardware_concurrency()) - 1);
    if (helpers <= 0) {
        drawRows(frame, x0, x1, y0, y1, target);
        return {x0, y0, x1 - x0, y1 - y0};
    }
    // A large part (a fill on a 4K screen is millions of pixels) is shared
    // among the cores, each drawing rows of its own.
    std::vector<std::jthread> others;
    const int parts = helpers + 1;
    const int rows = y1 - y0;
    for (int part = 1; part < parts; ++part) {
        const int from = y0 + rows * part / parts;
        const int to = y0 + rows * (part + 1) / parts;
        others.emplace_back([=, this, &frame] { drawRows(frame, x0, x1, from, to, target); });
    }
    drawRows(frame, x0, x1, y0, y0 + rows / parts, target);
    return {x0, y0, x1 - x0, y1 - y0};
}

void FrameScaler::drawRows(const Image& frame, int x0, int x1, int y0, int y1, std::uint32_t* target) const {
    const Colour* pixels = frame.pixels.data();
    const bool sameWidth = m_place.w == m_frameWidth;
    thread_local std::vector<std::uint32_t> blended;
    blended.resize(static_cast<std::size_t>(m_frameWidth));
    for (int y = y0; y < y1; ++y) {
        const Tap& row = m_rows[static_cast<std::size_t>(y - m_place.y)];
        const Colour* upper = pixels + static_cast<std::size_t>(row.index) * m_frameWidth;
        const Colour* lower = pixels + static_cast<std::size_t>(row.next) * m_frameWidth;
        std::uint32_t* out = target + static_cast<std::size_t>(y) * m_stride;
        if (sameWidth && row.weight == 0) {
            // Unscaled: the frame's own pixels.
            for (int x = x0; x < x1; ++x) {
                out[x] = toXrgb(upper[x - m_place.x]);
            }
            continue;
        }
        // The two source rows mixed once for the whole target row, then
        // each target pixel mixes two neighbours of that: one mix a pixel.
        const int from = m_columns[static_cast<std::size_t>(x0 - m_place.x)].index;
        const int to = m_columns[static_cast<std::size_t>(x1 - 1 - m_place.x)].next + 1;
        mixRows(upper + from, lower + from, to - from, row.weight, blended.data() + from);
        for (int x = x0; x < x1; ++x) {
            const Tap& column = m_columns[static_cast<std::size_t>(x - m_place.x)];
            out[x] = toXrgb(mix(blended[static_cast<std::size_t>(column.index)],
                                blended[static_cast<std::size_t>(column.next)], column.weight));
        }
    }
}

void FrameScaler::drawAll(const Image& frame, std::uint32_t* target) const {
    if (m_targetWidth <= 0 || m_targetHeight <= 0) {
        return;
    }
    for (int y = 0; y < m_targetHeight; ++y) {
        std::uint32_t* row = target + static_cast<std::size_t>(y) * m_stride;
        std::fill(row, row + m_targetWidth, 0u);
    }
    draw(frame, {0, 0, m_frameWidth, m_frameHeight}, target);
}

void FrameScaler::toFrame(double targetX, double targetY, float& frameX, float& frameY) const {
    if (m_place.empty()) {
        frameX = static_cast<float>(targetX);
        frameY = static_cast<float>(targetY);
        return;
    }
    // Whole pixels rounded toward zero, as SDL's logical size gave them.
    frameX = static_cast<float>(std::trunc((targetX - m_place.x) * m_frameWidth / m_place.w));
    frameY = static_cast<float>(std::trunc((targetY - m_place.y) * m_frameHeight / m_place.h));
}

} // namespace tintaro
