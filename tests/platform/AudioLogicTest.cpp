// SPDX-License-Identifier: GPL-3.0-or-later
// The audio layer's pieces that need no device: the repair of a tune's
// timing, the music's limiter, the fade of a cut effect and the timer that
// lets the device close when nothing sounds.

#include "platform/audio/CutFade.h"
#include "platform/audio/MidiTiming.h"
#include "platform/audio/PeakLimiter.h"
#include "platform/audio/QuietTimer.h"
#include "platform/audio/WavShape.h"
#include "support/MidiFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

using namespace tintaro;
using namespace tintaro::audio;

namespace {

Bytes readAsset(const std::string& relative) {
    std::ifstream in(std::string(TINTARO_ASSETS) + "/" + relative, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const Bytes kTempoZero = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00};
const Bytes kTempoDefault = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
const Bytes kTempoFast = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x01};
const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Where the first tempo event of a file keeps its three bytes of value.
std::size_t firstTempoValue(const Bytes& midi) {
    const Bytes tempo = {0xFF, 0x51, 0x03};
    return static_cast<std::size_t>(std::search(midi.begin(), midi.end(), tempo.begin(), tempo.end()) -
                                    midi.begin()) +
           3;
}

TEST(MidiTiming, TheShippedTuneIsPlayableAsItIs) {
    const Bytes tune = readAsset("MUSIC/001.MID");
    ASSERT_FALSE(tune.empty());
    Bytes checked = tune;
    EXPECT_TRUE(makeTimingPlayable(checked));
    EXPECT_EQ(checked, tune);
}

TEST(MidiTiming, TheShippedTuneWithATempoOfZeroGetsTheDefaultTempo) {
    Bytes tune = readAsset("MUSIC/001.MID");
    const std::size_t at = firstTempoValue(tune);
    ASSERT_LT(at + 3, tune.size());
    std::fill_n(tune.begin() + static_cast<std::ptrdiff_t>(at), 3, 0);
    Bytes expected = tune;
    expected[at] = 0x07;
    expected[at + 1] = 0xA1;
    expected[at + 2] = 0x20;
    EXPECT_TRUE(makeTimingPlayable(tune));
    EXPECT_EQ(tune, expected);
}

TEST(MidiTiming, ImpossibleTimingIsRepairedOrRefused) {
    const Bytes notes = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0};
    // After a tempo, running status (0x90 then data only), a sysex and a text meta.
    const Bytes busy = {0x00, 0x90, 60,   100,  0x10, 62,   100,  0x00, 0xF0, 0x03,
                        0x7E, 0x09, 0xF7, 0x00, 0xFF, 0x01, 0x02, 'h',  'i'};
    struct Case {
        const char* what;
        Bytes file;
        bool playable;
        Bytes afterwards; // empty: as it was
    };
    const Case cases[] = {
        {"sound file", test::singleTrackMidi(480, concat({kTempoDefault, notes, kEndOfTrack})), true, {}},
        {"tempo 0", test::singleTrackMidi(480, concat({kTempoZero, notes, kEndOfTrack})), true,
         test::singleTrackMidi(480, concat({kTempoDefault, notes, kEndOfTrack}))},
        {"tempo 0 after running status, sysex and text",
         test::singleTrackMidi(96, concat({busy, kTempoZero, notes, kEndOfTrack})), true,
         test::singleTrackMidi(96, concat({busy, kTempoDefault, notes, kEndOfTrack}))},
        {"a fast tempo is the limiter's business",
         test::singleTrackMidi(480, concat({kTempoFast, notes, kEndOfTrack})),
         true,
         {}},
        {"division 0", test::singleTrackMidi(0, concat({kTempoDefault, notes, kEndOfTrack})), false, {}},
        {"SMPTE division", test::singleTrackMidi(0xE728, concat({notes, kEndOfTrack})), false, {}},
        {"not a MIDI file", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0}, false, {}},
        {"header only", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1}, false, {}},
        {"header longer than the file",
         Bytes{'M', 'T', 'h', 'd', 0xFF, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0},
         false,
         {}},
    };
    for (const Case& c : cases) {
        Bytes file = c.file;
        EXPECT_EQ(makeTimingPlayable(file), c.playable) << c.what;
        EXPECT_EQ(file, c.afterwards.empty() ? c.file : c.afterwards) << c.what;
    }
}

// Every cut of a damaged file ends inside the file: a track that claims more
// bytes than there are, an event cut in half, a length that runs out.
TEST(MidiTiming, ATruncatedFileIsReadOnlyAsFarAsItGoes) {
    const Bytes whole =
        test::singleTrackMidi(480, concat({kTempoDefault, {0x00, 0x90, 60, 100}, kTempoZero, kEndOfTrack}));
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const bool playable = makeTimingPlayable(cut);
        EXPECT_EQ(playable, length >= 14) << length;
        EXPECT_EQ(cut.size(), length);
    }
}

constexpr double kRate = 44100;
constexpr float kCeiling = 0.794f;

TEST(PeakLimiter, AQuietSignalPassesUnchanged) {
    PeakLimiter limiter(kCeiling, 0.2, kRate);
    std::vector<float> left(4096), right(4096);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = 0.7f * static_cast<float>(std::sin(i * 0.05));
        right[i] = -0.5f * static_cast<float>(std::cos(i * 0.03));
    }
    const std::vector<float> inLeft = left, inRight = right;
    limiter.process(left.data(), right.data(), left.size());
    EXPECT_EQ(left, inLeft);
    EXPECT_EQ(right, inRight);
}

TEST(PeakLimiter, NothingPassesTheCeilingAndTheGainComesBack) {
    PeakLimiter limiter(kCeiling, 0.2, kRate);
    // A burst at three times full scale in one channel, then a quiet tone.
    std::vector<float> left(static_cast<std::size_t>(kRate * 2)), right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        const float tone = static_cast<float>(std::sin(i * 0.05));
        left[i] = i < 2048 ? 3.0f * tone : 0.5f * tone;
        right[i] = i < 2048 ? 0.1f * tone : 0.5f * tone;
    }
    const std::vector<float> inLeft = left;
    limiter.process(left.data(), right.data(), left.size());
    float loudest = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        loudest = std::max({loudest, std::fabs(left[i]), std::fabs(right[i])});
    }
    EXPECT_LE(loudest, kCeiling);
    EXPECT_GT(loudest, kCeiling * 0.99f) << "the burst is held at the ceiling, not below it";
    EXPECT_NEAR(right[1000] / left[1000], 0.1f / 3.0f, 1e-4) << "both channels get the same gain";
    EXPECT_GT(limiter.gain(), 0.99f) << "a second after the burst the music has its level back";
}

TEST(PeakLimiter, ABrokenSampleBecomesSilence) {
    PeakLimiter limiter(kCeiling, 0.2, kRate);
    float left[] = {0.1f, std::numeric_limits<float>::quiet_NaN(), 0.1f,
                    std::numeric_limits<float>::infinity()};
    float right[] = {0.1f, 0.1f, std::numeric_limits<float>::quiet_NaN(), 0.1f};
    limiter.process(left, right, 4);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(left[i], 0.0f) << i;
        EXPECT_EQ(right[i], 0.0f) << i;
    }
    EXPECT_EQ(limiter.gain(), 1.0f);
}

// A stereo effect holding one level, as 16-bit samples.
std::vector<std::int16_t> level(std::size_t frames, std::int16_t value) {
    return std::vector<std::int16_t>(frames * 2, value);
}

TEST(CutFade, UntilStartedTheEffectPassesUnchanged) {
    CutFade fade(220, 2);
    std::vector<std::int16_t> samples = level(1024, 8192);
    fade.apply(samples.data(), samples.size());
    EXPECT_EQ(samples, level(1024, 8192));
    EXPECT_FALSE(fade.finished());
}

TEST(CutFade, RampsDownInSmallStepsAcrossBuffersThenStaysSilent) {
    const int ramp = 220; // 5 ms at 44.1 kHz
    CutFade fade(ramp, 2);
    fade.start();
    // Buffers of odd sizes, so the ramp crosses their boundaries.
    std::vector<std::int16_t> heard;
    for (std::size_t frames : {100, 57, 300, 1024}) {
        std::vector<std::int16_t> buffer = level(frames, 8192);
        fade.apply(buffer.data(), buffer.size());
        heard.insert(heard.end(), buffer.begin(), buffer.end());
    }
    EXPECT_TRUE(fade.finished());
    int previous = 8192; // the level just before the cut
    int largestStep = 0;
    for (std::size_t i = 0; i < heard.size(); i += 2) {
        EXPECT_EQ(heard[i], heard[i + 1]);
        largestStep = std::max(largestStep, std::abs(heard[i] - previous));
        previous = heard[i];
    }
    EXPECT_LE(largestStep, 8192 / ramp + 1);
    EXPECT_EQ(heard[2 * (ramp - 1)], 0) << "silent at the ramp's end";
    EXPECT_TRUE(std::all_of(heard.begin() + 2 * ramp, heard.end(), [](std::int16_t s) { return s == 0; }));

    fade.reset();
    std::vector<std::int16_t> next = level(64, 8192);
    fade.apply(next.data(), next.size());
    EXPECT_EQ(next, level(64, 8192)) << "a new playing on the channel starts whole";
    EXPECT_FALSE(fade.finished());
}

TEST(QuietTimer, QuietAfterTheIdleDelayOfTheLastSound) {
    QuietTimer timer(3.0, 100.0); // opened at t = 100
    EXPECT_FALSE(timer.quietAt(102.9));
    EXPECT_TRUE(timer.quietAt(103.0));

    timer.soundUntil(103.5); // an effect of 1.5 s requested at t = 102
    EXPECT_FALSE(timer.quietAt(106.4));
    EXPECT_TRUE(timer.quietAt(106.5));
    timer.soundUntil(101.0); // a shorter sound does not shorten the wait
    EXPECT_FALSE(timer.quietAt(106.4));
}

TEST(QuietTimer, MusicHoldsTheDeviceUntilItStops) {
    QuietTimer timer(3.0, 100.0);
    timer.holdOpen(true, 101.0);
    EXPECT_FALSE(timer.quietFrom().has_value());
    EXPECT_FALSE(timer.quietAt(1000.0));
    timer.holdOpen(true, 1000.0); // the tune restarting
    timer.holdOpen(false, 1200.0);
    EXPECT_FALSE(timer.quietAt(1202.9));
    EXPECT_TRUE(timer.quietAt(1203.0));
    timer.holdOpen(false, 1300.0); // a stop while off changes nothing
    EXPECT_TRUE(timer.quietAt(1203.0));
}

} // namespace

TEST(WavShape, EveryShippedEffectFitsAndDamagedSizesDoNot) {
    const Bytes good = readAsset("SOUND/CRVENA.WAV");
    ASSERT_TRUE(wavPlausible(good));
    for (const char* name : {"ZELENA", "ZUTA", "SVPLAVA", "ORANZ", "LJUBICASTA", "SIVA", "TAMNOZUTA", "BRAON",
                             "PLAVA", "CRNA", "PINK"}) {
        EXPECT_TRUE(wavPlausible(readAsset(std::string("SOUND/") + name + ".WAV"))) << name;
    }
    // The same length, one size field claiming gigabytes: the data chunk's,
    // then the RIFF header's.
    std::size_t data = 12;
    while (data + 8 <= good.size() && std::string(good.begin() + data, good.begin() + data + 4) != "data") {
        data += 8 + (good[data + 4] | good[data + 5] << 8 | good[data + 6] << 16 | good[data + 7] << 24);
    }
    ASSERT_LT(data + 8, good.size());
    const struct {
        const char* what;
        std::size_t at;
    } damages[] = {{"data size", data + 4}, {"RIFF size", 4}};
    for (const auto& damage : damages) {
        Bytes bad = good;
        bad[damage.at + 3] = 0xDC; // about 3.7 GB
        EXPECT_FALSE(wavPlausible(bad)) << damage.what;
    }
    EXPECT_FALSE(wavPlausible(Bytes(good.begin(), good.begin() + 11))) << "cut inside the header";
    EXPECT_FALSE(wavPlausible(Bytes(good.begin(), good.begin() + static_cast<long>(data))))
        << "no data chunk";
}

// The same length with a few bytes of the format changed (the asset check
// passes such a file): a rate of 1 Hz would make SDL_mixer resample for
// seconds into hundreds of megabytes; the others are no effect either. So
// are eleven seconds of sound.
TEST(WavShape, ImplausibleSoundsAreRefusedAtOnce) {
    const Bytes good = readAsset("SOUND/CRVENA.WAV");
    std::size_t fmt = 12;
    while (fmt + 8 <= good.size() && std::string(good.begin() + fmt, good.begin() + fmt + 4) != "fmt ") {
        fmt += 8 + (good[fmt + 4] | good[fmt + 5] << 8 | good[fmt + 6] << 16 | good[fmt + 7] << 24);
    }
    ASSERT_LT(fmt + 24, good.size());
    const auto put = [](Bytes& b, std::size_t at, std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    const struct {
        const char* what;
        std::size_t offset; // within the format chunk
        std::uint32_t value;
        int count;
        bool plausible;
    } changes[] = {
        {"1 Hz", 12, 1, 4, false},
        {"7,999 Hz", 12, 7999, 4, false},
        {"8,000 Hz", 12, 8000, 4, true},
        {"192,000 Hz", 12, 192000, 4, true},
        {"192,001 Hz", 12, 192001, 4, false},
        {"no channel", 10, 0, 2, false},
        {"two channels", 10, 2, 2, true},
        {"six channels", 10, 6, 2, false},
        {"12 bits", 22, 12, 2, false},
        {"32 bits", 22, 32, 2, true},
    };
    for (const auto& c : changes) {
        Bytes changed = good;
        put(changed, fmt + c.offset, c.value, c.count);
        EXPECT_EQ(wavPlausible(changed), c.plausible) << c.what;
    }
    // Eleven seconds of 8-bit silence at 8,000 Hz, and ten.
    for (const int seconds : {10, 11}) {
        const std::uint32_t samples = 8000u * static_cast<std::uint32_t>(seconds);
        Bytes wav(44 + samples, 0x80);
        std::memcpy(wav.data(), "RIFF", 4);
        put(wav, 4, 36 + samples, 4);
        std::memcpy(wav.data() + 8, "WAVEfmt ", 8);
        put(wav, 16, 16, 4);
        put(wav, 20, 1, 2);    // PCM
        put(wav, 22, 1, 2);    // mono
        put(wav, 24, 8000, 4); // rate
        put(wav, 28, 8000, 4); // bytes a second
        put(wav, 32, 1, 2);    // block
        put(wav, 34, 8, 2);    // bits
        std::memcpy(wav.data() + 36, "data", 4);
        put(wav, 40, samples, 4);
        EXPECT_EQ(wavPlausible(wav), seconds <= 10) << seconds << " s";
    }
}
