// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the shipped sound effects and music the way a packager would: every
// file under its exact name, well-formed, of the right length and loudness,
// and playable in a loop. The readers below are written independently of the
// tool that renders the files, so a fault in the writer cannot hide itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kAssets = TINTARO_ASSETS;
const fs::path kShortTune = fs::path(TINTARO_SOURCE_DIR) / "tests/audio/fixtures/short.mid";

constexpr std::array<const char*, 12> kEffects = {"CRVENA.WAV", "ZELENA.WAV",     "ZUTA.WAV", "SVPLAVA.WAV",
                                                  "ORANZ.WAV",  "LJUBICASTA.WAV", "SIVA.WAV", "TAMNOZUTA.WAV",
                                                  "BRAON.WAV",  "PLAVA.WAV",      "CRNA.WAV", "PINK.WAV"};

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

std::uint32_t be(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

bool tagAt(const Bytes& b, std::size_t at, const char* tag) {
    return at + 4 <= b.size() && std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// ---------------------------------------------------------------- WAV

struct Wav {
    int channels = 0;
    std::uint32_t rate = 0;
    std::vector<std::int16_t> samples; // interleaved
    double seconds() const { return static_cast<double>(samples.size()) / channels / rate; }
};

// Reads a RIFF/WAVE file of 16-bit PCM; on any inconsistency returns nullopt
// and says why in `error`.
std::optional<Wav> parseWav(const Bytes& b, std::string& error) {
    if (b.size() < 12 || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE")) {
        error = "no RIFF/WAVE header";
        return std::nullopt;
    }
    if (le(b, 4, 4) != b.size() - 8) {
        error =
            "RIFF length " + std::to_string(le(b, 4, 4)) + " but file holds " + std::to_string(b.size() - 8);
        return std::nullopt;
    }
    Wav wav;
    bool haveFormat = false, haveData = false;
    std::size_t pos = 12;
    while (pos < b.size()) {
        if (pos + 8 > b.size()) {
            error = "truncated chunk header";
            return std::nullopt;
        }
        const std::uint32_t size = le(b, pos + 4, 4);
        const std::size_t body = pos + 8;
        if (body + size > b.size()) {
            error = "chunk runs past the end of the file";
            return std::nullopt;
        }
        if (tagAt(b, pos, "fmt ")) {
            if (size < 16 || le(b, body, 2) != 1 || le(b, body + 14, 2) != 16) {
                error = "format is not 16-bit PCM";
                return std::nullopt;
            }
            wav.channels = static_cast<int>(le(b, body + 2, 2));
            wav.rate = le(b, body + 4, 4);
            const std::uint32_t blockAlign = le(b, body + 12, 2);
            if ((wav.channels != 1 && wav.channels != 2) || blockAlign != 2u * wav.channels ||
                le(b, body + 8, 4) != wav.rate * blockAlign) {
                error = "inconsistent channels, block alignment or byte rate";
                return std::nullopt;
            }
            haveFormat = true;
        } else if (tagAt(b, pos, "data")) {
            if (!haveFormat || size % (2u * wav.channels) != 0) {
                error = "data before fmt, or not whole sample frames";
                return std::nullopt;
            }
            for (std::size_t i = 0; i < size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(le(b, body + i, 2)));
            haveData = true;
        }
        pos = body + size + (size & 1);
    }
    if (!haveData) {
        error = "no data chunk";
        return std::nullopt;
    }
    return wav;
}

double peakDbfs(const Wav& wav) {
    int peak = 0;
    for (std::int16_t s : wav.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return 20 * std::log10(peak / 32768.0);
}

// A clipped sound shows flat tops: several samples in a row stuck at the peak.
bool hasFlatTops(const Wav& wav) {
    int peak = 0;
    for (std::int16_t s : wav.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    int run = 0;
    for (std::int16_t s : wav.samples) {
        run = std::abs(static_cast<int>(s)) == peak ? run + 1 : 0;
        if (run >= 3)
            return true;
    }
    return false;
}

// The loudest sample in the first or last millisecond, relative to full scale.
double edgeLevel(const Wav& wav, bool atEnd) {
    const std::size_t n = std::min<std::size_t>(wav.samples.size(), wav.rate / 1000 * wav.channels);
    int peak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = atEnd ? wav.samples.size() - 1 - i : i;
        peak = std::max(peak, std::abs(static_cast<int>(wav.samples[at])));
    }
    return peak / 32768.0;
}

class SoundEffect : public ::testing::TestWithParam<const char*> {};

TEST_P(SoundEffect, IsWellFormedShortAndComfortablyLoud) {
    const fs::path path = kAssets / "SOUND" / GetParam();
    ASSERT_TRUE(fs::is_regular_file(path)) << path << " is missing";
    std::string error;
    const auto wav = parseWav(readFile(path), error);
    ASSERT_TRUE(wav) << GetParam() << ": " << error;
    EXPECT_EQ(wav->rate, 44100u) << GetParam();
    EXPECT_GE(wav->seconds(), 0.2) << GetParam() << " is too short to hear";
    EXPECT_LE(wav->seconds(), 1.2) << GetParam() << " is too long: a new click cuts it off";
    const double peak = peakDbfs(*wav);
    EXPECT_GE(peak, -6.0) << GetParam() << " is too quiet";
    EXPECT_LE(peak, -1.0) << GetParam() << " is too loud";
    EXPECT_FALSE(hasFlatTops(*wav)) << GetParam() << " is clipped";
    // Starting or stopping away from silence is heard as a click.
    EXPECT_LT(edgeLevel(*wav, false), 0.05) << GetParam() << " starts with a click";
    EXPECT_LT(edgeLevel(*wav, true), 0.01) << GetParam() << " ends abruptly";
}

INSTANTIATE_TEST_SUITE_P(Colours, SoundEffect, ::testing::ValuesIn(kEffects), [](const auto& info) {
    return std::string(info.param).substr(0, std::string(info.param).find('.'));
});

TEST(SoundEffects, SoundDirectoryHoldsExactlyTheTwelveEffects) {
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(kAssets / "SOUND"))
        present.insert(entry.path().filename().string());
    EXPECT_EQ(present, std::set<std::string>(kEffects.begin(), kEffects.end()));
}

// Normalised correlation of the two sounds' common length: 1 for a copy, even
// a louder or quieter one.
double similarity(const Wav& a, const Wav& b) {
    const std::size_t n = std::min(a.samples.size(), b.samples.size());
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ab += double(a.samples[i]) * b.samples[i];
        aa += double(a.samples[i]) * a.samples[i];
        bb += double(b.samples[i]) * b.samples[i];
    }
    return aa > 0 && bb > 0 ? std::abs(ab) / std::sqrt(aa * bb) : 1.0;
}

TEST(SoundEffects, AllTwelveSoundDifferent) {
    std::vector<Wav> sounds;
    for (const char* name : kEffects) {
        std::string error;
        auto wav = parseWav(readFile(kAssets / "SOUND" / name), error);
        ASSERT_TRUE(wav) << name << ": " << error;
        sounds.push_back(std::move(*wav));
    }
    for (std::size_t i = 0; i < sounds.size(); ++i)
        for (std::size_t j = i + 1; j < sounds.size(); ++j)
            EXPECT_LT(similarity(sounds[i], sounds[j]), 0.5)
                << kEffects[i] << " and " << kEffects[j] << " sound alike";
}

TEST(WavReader, RejectsADataLengthThatDisagreesWithTheFile) {
    Bytes good = readFile(kAssets / "SOUND" / kEffects[0]);
    std::string error;
    ASSERT_TRUE(parseWav(good, error)) << error;
    Bytes truncated(good.begin(), good.end() - 2); // RIFF and data lengths now overstate the file
    EXPECT_FALSE(parseWav(truncated, error));
}

// ---------------------------------------------------------------- MIDI

struct MidiNote {
    int channel;
    int key;
    std::uint32_t on;
    std::uint32_t off;
};

struct Midi {
    int format = 0;
    int division = 0;
    int tracks = 0;
    std::uint32_t endTick = 0;                       // the latest end-of-track
    std::map<std::uint32_t, std::uint32_t> tempoMap; // tick -> microseconds per quarter
    std::vector<MidiNote> notes;
    std::map<int, std::uint32_t> firstProgram; // channel -> tick of its first program change
    std::vector<std::string> problems;         // notes left hanging, keys struck twice

    double secondsAt(std::uint32_t tick) const {
        double seconds = 0;
        std::uint32_t from = 0;
        std::uint32_t tempo = 500000;
        for (const auto& [at, micros] : tempoMap) {
            if (at >= tick)
                break;
            seconds += double(at - from) * tempo / division / 1e6;
            from = at;
            tempo = micros;
        }
        return seconds + double(tick - from) * tempo / division / 1e6;
    }
    double seconds() const { return secondsAt(endTick); }
};

std::uint32_t readVarLen(const Bytes& b, std::size_t& pos, std::size_t end, std::string& error) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= end) {
            error = "variable-length number runs past the track";
            return 0;
        }
        const std::uint8_t c = b[pos++];
        v = v << 7 | (c & 0x7f);
        if (!(c & 0x80))
            return v;
    }
    error = "variable-length number longer than four bytes";
    return 0;
}

// Reads a standard MIDI file, with running status, meta and sysex events.
std::optional<Midi> parseMidi(const Bytes& b, std::string& error) {
    if (b.size() < 14 || !tagAt(b, 0, "MThd") || be(b, 4, 4) != 6) {
        error = "no MThd header of length 6";
        return std::nullopt;
    }
    Midi midi;
    midi.format = static_cast<int>(be(b, 8, 2));
    midi.tracks = static_cast<int>(be(b, 10, 2));
    midi.division = static_cast<int>(be(b, 12, 2));
    if (midi.division == 0 || midi.division & 0x8000) {
        error = "division must count ticks per quarter note";
        return std::nullopt;
    }
    std::size_t pos = 14;
    for (int t = 0; t < midi.tracks; ++t) {
        if (pos + 8 > b.size() || !tagAt(b, pos, "MTrk")) {
            error = "track " + std::to_string(t) + " has no MTrk header";
            return std::nullopt;
        }
        const std::size_t end = pos + 8 + be(b, pos + 4, 4);
        if (end > b.size()) {
            error = "track " + std::to_string(t) + " is longer than the file";
            return std::nullopt;
        }
        pos += 8;
        std::uint32_t tick = 0;
        std::uint8_t running = 0;
        bool ended = false;
        std::map<std::pair<int, int>, std::uint32_t> sounding;
        while (pos < end && !ended) {
            tick += readVarLen(b, pos, end, error);
            if (!error.empty() || pos >= end) {
                error = error.empty() ? "event missing after its delta time" : error;
                return std::nullopt;
            }
            std::uint8_t status = b[pos];
            if (status & 0x80)
                ++pos;
            else if (running)
                status = running; // running status: the data bytes follow at once
            else {
                error = "data byte without a status in track " + std::to_string(t);
                return std::nullopt;
            }
            if (status == 0xff) {
                running = 0;
                if (pos >= end) {
                    error = "truncated meta event";
                    return std::nullopt;
                }
                const std::uint8_t type = b[pos++];
                const std::uint32_t length = readVarLen(b, pos, end, error);
                if (!error.empty() || pos + length > end) {
                    error = "meta event runs past the track";
                    return std::nullopt;
                }
                if (type == 0x51 && length == 3)
                    midi.tempoMap[tick] = be(b, pos, 3);
                if (type == 0x2f)
                    ended = true;
                pos += length;
            } else if (status == 0xf0 || status == 0xf7) {
                running = 0;
                const std::uint32_t length = readVarLen(b, pos, end, error);
                if (!error.empty() || pos + length > end) {
                    error = "sysex event runs past the track";
                    return std::nullopt;
                }
                pos += length;
            } else if (status >= 0xf0) {
                error = "system message inside a track";
                return std::nullopt;
            } else {
                running = status;
                const int kind = status & 0xf0;
                const int channel = status & 0x0f;
                const std::size_t dataBytes = kind == 0xc0 || kind == 0xd0 ? 1 : 2;
                if (pos + dataBytes > end || b[pos] & 0x80 || (dataBytes == 2 && b[pos + 1] & 0x80)) {
                    error = "bad channel message data in track " + std::to_string(t);
                    return std::nullopt;
                }
                const int key = b[pos];
                const int velocity = dataBytes == 2 ? b[pos + 1] : 0;
                pos += dataBytes;
                if (kind == 0xc0 && !midi.firstProgram.contains(channel))
                    midi.firstProgram[channel] = tick;
                const auto id = std::make_pair(channel, key);
                if (kind == 0x90 && velocity > 0) {
                    if (sounding.contains(id))
                        midi.problems.push_back("key " + std::to_string(key) +
                                                " struck again while sounding");
                    sounding[id] = tick;
                } else if (kind == 0x80 || kind == 0x90) {
                    if (auto it = sounding.find(id); it != sounding.end()) {
                        midi.notes.push_back({channel, key, it->second, tick});
                        sounding.erase(it);
                    }
                }
            }
        }
        if (!ended || pos != end) {
            error = "track " + std::to_string(t) + " does not end with end-of-track at its chunk's end";
            return std::nullopt;
        }
        for (const auto& [id, start] : sounding)
            midi.problems.push_back("key " + std::to_string(id.second) + " on channel " +
                                    std::to_string(id.first + 1) + " never ends");
        midi.endTick = std::max(midi.endTick, tick);
    }
    if (pos != b.size()) {
        error = "bytes after the last track";
        return std::nullopt;
    }
    return midi;
}

TEST(MidiReader, FollowsRunningStatusAndTempoChanges) {
    // One track: a quarter note at 120 bpm, then the tempo halves and a second
    // quarter note follows. Each note ends with a note-on of velocity 0 whose
    // status byte is left out (running status).
    // clang-format off
    const Bytes file = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xe0, // format 0, one track, 480 ticks a quarter
        'M', 'T', 'r', 'k', 0, 0, 0, 34,
        0x00, 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20,               // 500000 us a quarter: 120 bpm
        0x00, 0x90, 60, 100,                                    // C on
        0x83, 0x60, 60, 0,                                      // 480 ticks later C off, running status
        0x00, 0xff, 0x51, 0x03, 0x0f, 0x42, 0x40,               // 1000000 us a quarter: 60 bpm
        0x00, 0x90, 64, 100,                                    // E on
        0x83, 0x60, 64, 0,                                      // E off, running status
        0x00, 0xff, 0x2f, 0x00,                                 // end of track
    };
    // clang-format on
    std::string error;
    const auto midi = parseMidi(file, error);
    ASSERT_TRUE(midi) << error;
    ASSERT_EQ(midi->notes.size(), 2u);
    EXPECT_EQ(midi->notes[1].key, 64);
    EXPECT_DOUBLE_EQ(midi->seconds(), 0.5 + 1.0);
    EXPECT_TRUE(midi->problems.empty());

    Bytes wrongLength = file;
    wrongLength[21] = 33; // the track chunk claims one byte less than it holds
    EXPECT_FALSE(parseMidi(wrongLength, error));
}

struct TuneCase {
    const char* name;
    fs::path path;
    double minSeconds;
    double maxSeconds;
    bool needsPercussion;
};

void PrintTo(const TuneCase& c, std::ostream* os) {
    *os << c.name;
}

class Tune : public ::testing::TestWithParam<TuneCase> {};

TEST_P(Tune, IsAWellFormedLoopableMidiFile) {
    const TuneCase& c = GetParam();
    ASSERT_TRUE(fs::is_regular_file(c.path)) << c.path << " is missing";
    std::string error;
    const auto midi = parseMidi(readFile(c.path), error);
    ASSERT_TRUE(midi) << c.name << ": " << error;
    EXPECT_EQ(midi->format, 1) << c.name;
    EXPECT_GE(midi->seconds(), c.minSeconds) << c.name;
    EXPECT_LE(midi->seconds(), c.maxSeconds) << c.name;
    // A note left sounding would drone on through every repeat.
    EXPECT_TRUE(midi->problems.empty()) << c.name << ": " << midi->problems.front();
    ASSERT_FALSE(midi->notes.empty());

    std::set<int> channels;
    for (const MidiNote& n : midi->notes) {
        channels.insert(n.channel);
        EXPECT_LE(n.off, midi->endTick) << c.name << ": a note outlasts the tune";
        if (n.channel != 9) {
            const auto program = midi->firstProgram.find(n.channel);
            ASSERT_NE(program, midi->firstProgram.end())
                << c.name << ": channel " << n.channel + 1 << " plays without choosing an instrument";
            EXPECT_LE(program->second, n.on) << c.name << ": channel " << n.channel + 1;
        }
    }
    if (c.needsPercussion) {
        EXPECT_TRUE(channels.contains(9)) << c.name << " has no percussion on channel 10";
        EXPECT_GE(channels.size(), 4u) << c.name << " needs melody, accompaniment, bass and percussion";
    }
}

TEST(Tune, ShortTuneEndsWithAClearLastNote) {
    std::string error;
    const auto midi = parseMidi(readFile(kShortTune), error);
    ASSERT_TRUE(midi) << error;
    ASSERT_FALSE(midi->notes.empty());
    const auto last = std::ranges::max_element(midi->notes, {}, &MidiNote::on);
    // The restart tests listen for the end of this note, so it must be long
    // and close the tune.
    EXPECT_GE(midi->secondsAt(last->off) - midi->secondsAt(last->on), 0.5);
    EXPECT_NEAR(midi->secondsAt(last->off), midi->seconds(), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Files, Tune,
                         ::testing::Values(TuneCase{"Music001", kAssets / "MUSIC" / "001.MID", 60, 180, true},
                                           TuneCase{"ShortFixture", kShortTune, 2.5, 3.5, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
