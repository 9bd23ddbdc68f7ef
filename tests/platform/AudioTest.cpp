// SPDX-License-Identifier: GPL-3.0-or-later
// The real audio layer on SDL's disk driver: what reaches the "device" is
// written to a raw file (signed 16-bit stereo at 44.1 kHz) at the pace of a
// real device, so the file's length is the audio clock.

#include "platform/audio/Audio.h"
#include "platform/AppPath.h"
#include "platform/audio/AudioSupport.h"
#include "platform/audio/MixerDevice.h"
#include "platform/posix/PosixFiles.h"
#include "support/MidiFile.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace tintaro;

namespace {

// The audio reads its files through the program's own file access.
Files& realFiles() {
    static PosixFiles files;
    return files;
}

constexpr int kRate = 44100;
constexpr int kBytesPerFrame = 4; // 16-bit stereo, as the device is opened

// A mono 16-bit sine at half of full scale.
std::vector<std::uint8_t> sineWav(double hz, double seconds) {
    const auto frames = static_cast<std::uint32_t>(seconds * kRate);
    std::vector<std::int16_t> samples;
    samples.reserve(frames);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double s = 0.5 * std::sin(2 * M_PI * hz * i / kRate);
        samples.push_back(static_cast<std::int16_t>(s * 32767));
    }
    return test::monoWav(samples, kRate);
}

// A format-0 MIDI file at 120 bpm (480 ticks a quarter = 0.5 s): a piano plays
// the given notes one after another, each a quarter long, loud. The end of
// track follows the last note-off at once, so the tune lasts notes x 0.5 s.
std::vector<std::uint8_t> tuneMidi(const std::vector<int>& notes) {
    std::vector<std::uint8_t> track = {0x00, 0xC0, 0x00}; // program: acoustic grand piano
    for (int note : notes) {
        track.insert(track.end(), {0x00, 0x90, static_cast<std::uint8_t>(note), 120});
        track.insert(track.end(), {0x83, 0x60, 0x80, static_cast<std::uint8_t>(note), 0}); // after 480 ticks
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    return test::singleTrackMidi(480, track);
}

// Loud notes struck together on two channels, held for two seconds: a tune
// that stacks its notes.
std::vector<std::uint8_t> chordMidi(const std::vector<int>& notes) {
    std::vector<std::uint8_t> track = {0x00, 0xC0, 0x00, 0x00, 0xC1, 0x30}; // piano and strings
    for (int channel = 0; channel < 2; ++channel) {
        for (int note : notes) {
            track.insert(track.end(), {0x00, static_cast<std::uint8_t>(0x90 | channel),
                                       static_cast<std::uint8_t>(note), 127});
        }
    }
    track.insert(track.end(),
                 {0x87, 0x40, 0xB0, 123, 0, 0x00, 0xB1, 123, 0}); // all notes off after 960 ticks
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    return test::singleTrackMidi(480, track);
}

// A mono 16-bit WAV of the given samples (-1 to 1).
std::vector<std::uint8_t> wavOf(const std::vector<double>& samples) {
    std::vector<std::int16_t> pcm;
    pcm.reserve(samples.size());
    for (double s : samples) {
        pcm.push_back(static_cast<std::int16_t>(std::lround(s * 32767)));
    }
    return test::monoWav(pcm, kRate);
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Polls until the condition holds; false if it never does.
template <typename Condition> bool waitUntil(Condition condition) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

double dbfs(double level) {
    return 20 * std::log10(std::max(level, 1.0 / 32768));
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Each test gets its own application directory and its own disk "device".
class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tintaro-audio-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_output = m_dir / "device.raw";
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", m_output.c_str(), 1);
        m_audio = openAudio(realFiles());
        ASSERT_TRUE(m_audio.effects && m_audio.music);
    }

    void TearDown() override {
        m_audio = {};
        fs::remove_all(m_dir);
    }

    // The program's way of naming a file: the directory, then a backslash path.
    std::string appPath(const std::string& relative) const { return joinPath(m_dir.string(), relative); }

    // Frames the device has played so far.
    long framesPlayed() const {
        std::error_code ec;
        const auto size = fs::file_size(m_output, ec);
        return ec ? 0 : static_cast<long>(size / kBytesPerFrame);
    }

    void waitFrames(long frames) const {
        const long until = framesPlayed() + frames;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (framesPlayed() < until && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    static long seconds(double s) { return std::lround(s * kRate); }

    // The output's interleaved samples between two frame positions.
    std::vector<std::int16_t> samples(long fromFrame, long toFrame) const {
        std::ifstream in(m_output, std::ios::binary);
        in.seekg(fromFrame * kBytesPerFrame);
        std::vector<std::int16_t> samples(static_cast<std::size_t>(std::max(0L, toFrame - fromFrame)) * 2);
        in.read(reinterpret_cast<char*>(samples.data()),
                static_cast<std::streamsize>(samples.size() * sizeof(std::int16_t)));
        samples.resize(static_cast<std::size_t>(in.gcount()) / sizeof(std::int16_t));
        return samples;
    }

    // The largest sample magnitude between two frame positions of the output.
    double peak(long fromFrame, long toFrame) const {
        int most = 0;
        for (std::int16_t s : samples(fromFrame, toFrame)) {
            most = std::max(most, std::abs(static_cast<int>(s)));
        }
        return most / 32768.0;
    }

    // The largest change from one sample to the next within a channel.
    double largestStep(long fromFrame, long toFrame) const {
        const std::vector<std::int16_t> all = samples(fromFrame, toFrame);
        int most = 0;
        for (std::size_t i = 2; i < all.size(); ++i) {
            most = std::max(most, std::abs(all[i] - all[i - 2]));
        }
        return most / 32768.0;
    }

    // A device that writes as fast as it can mix, for tests that listen long.
    void openFastDevice() {
        m_audio = {};
        ::setenv("SDL_DISKAUDIODELAY", "0", 1);
        m_audio = openAudio(realFiles());
        ::unsetenv("SDL_DISKAUDIODELAY");
        ASSERT_TRUE(m_audio.effects && m_audio.music);
    }

    // Polls as the repeat tick would, but often, and checks on the audio clock
    // that "playing" ends with the tune's last event.
    void expectEndsAfter(double tuneSeconds, long startFrame) {
        MusicPlayer& music = *m_audio.music;
        while (music.isPlaying() && framesPlayed() - startFrame < seconds(tuneSeconds + 5)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const double endedAfter = static_cast<double>(framesPlayed() - startFrame) / kRate;
        std::cout << "[ measure  ] " << tuneSeconds << " s tune reported ended after " << endedAfter
                  << " s of audio\n";
        EXPECT_FALSE(music.isPlaying());
        EXPECT_GT(endedAfter, tuneSeconds - 0.1);
        // "Playing" must end with the last event, not after the synthesizer's
        // own three-second ring-out. How soon after it is the figure printed
        // above (a device buffer is 23 ms, and a busy machine polls late), so
        // the check only tells the two apart.
        EXPECT_LT(endedAfter, tuneSeconds + 2.0);
    }

    fs::path m_dir;
    fs::path m_output;
    AudioSystem m_audio;
};

constexpr double kSilent = 1.0 / 32768; // nothing at all
constexpr double kAudible = 0.01;       // -40 dBFS

TEST_F(AudioTest, EffectIsPlayedFromABackslashPath) {
    writeFile(m_dir / "SOUND" / "TONE.WAV", sineWav(440, 0.3));
    waitFrames(seconds(0.05));
    const long start = framesPlayed();
    m_audio.effects->play(appPath("\\SOUND\\TONE.WAV"));
    waitFrames(seconds(0.5));
    EXPECT_GT(peak(start, framesPlayed()), 0.4);
    // The tone has ended and nothing else sounds.
    waitFrames(seconds(0.2));
    EXPECT_LT(peak(framesPlayed() - seconds(0.1), framesPlayed()), kSilent);
}

TEST_F(AudioTest, NewEffectCutsOffTheOnePlaying) {
    writeFile(m_dir / "SOUND" / "LONG.WAV", sineWav(440, 3.0));
    writeFile(m_dir / "SOUND" / "SHORT.WAV", sineWav(660, 0.2));
    m_audio.effects->play(appPath("\\SOUND\\LONG.WAV"));
    waitFrames(seconds(0.3));
    EXPECT_GT(peak(framesPlayed() - seconds(0.2), framesPlayed()), 0.4);
    m_audio.effects->play(appPath("\\SOUND\\SHORT.WAV"));
    const long cut = framesPlayed();
    waitFrames(seconds(0.9));
    // The short effect sounded, and after it the long one did not resume.
    EXPECT_GT(peak(cut, cut + seconds(0.4)), 0.4);
    EXPECT_LT(peak(cut + seconds(0.5), cut + seconds(0.9)), kSilent);
}

TEST_F(AudioTest, UnplayableEffectsAreSilent) {
    writeFile(m_dir / "SOUND" / "BROKEN.WAV", {'R', 'I', 'F', 'F', 1, 2, 3});
    writeFile(m_dir / "SOUND" / "EMPTY.WAV", {});
    const long start = framesPlayed();
    for (const char* name : {"\\SOUND\\MISSING.WAV", "\\SOUND\\BROKEN.WAV", "\\SOUND\\EMPTY.WAV"}) {
        m_audio.effects->play(appPath(name));
    }
    waitFrames(seconds(0.3));
    EXPECT_LT(peak(start, framesPlayed()), kSilent);
}

TEST_F(AudioTest, EffectFileIsReadAtEveryRequest) {
    const fs::path file = m_dir / "SOUND" / "TONE.WAV";
    writeFile(file, sineWav(440, 0.2));
    m_audio.effects->play(appPath("\\SOUND\\TONE.WAV"));
    waitFrames(seconds(0.4));
    fs::remove(file);
    const long start = framesPlayed();
    m_audio.effects->play(appPath("\\SOUND\\TONE.WAV"));
    waitFrames(seconds(0.4));
    EXPECT_LT(peak(start, framesPlayed()), kSilent);
}

TEST_F(AudioTest, MusicNeedsAPerformanceAndAReadableTune) {
    MusicPlayer& music = *m_audio.music;
    writeFile(m_dir / "MUSIC" / "NOT_MIDI.MID", sineWav(440, 0.1));
    EXPECT_FALSE(music.load(appPath("\\MUSIC\\001.MID")));
    EXPECT_FALSE(music.play());
    ASSERT_TRUE(music.createPerformance());
    EXPECT_FALSE(music.load(appPath("\\MUSIC\\001.MID")));
    EXPECT_FALSE(music.play());
    EXPECT_FALSE(music.load(appPath("\\MUSIC\\NOT_MIDI.MID")));
    EXPECT_FALSE(music.play());
    EXPECT_FALSE(music.isPlaying());
}

// The repeat tick asks every 500 ms whether the tune still plays; the answer
// must turn to "no" as soon as the last event has been played, or the restart
// comes late. Measured on the audio clock, so a slow machine does not matter.
TEST_F(AudioTest, TuneEndsOnTimeAndRestartsFromTheBeginning) {
    writeFile(m_dir / "MUSIC" / "001.MID", tuneMidi({60, 64, 67})); // 1.5 s
    MusicPlayer& music = *m_audio.music;
    ASSERT_TRUE(music.createPerformance());
    ASSERT_TRUE(music.setMasterVolume(150));
    ASSERT_TRUE(music.load(appPath("\\MUSIC\\001.MID")));
    const long start = framesPlayed();
    ASSERT_TRUE(music.play());
    EXPECT_TRUE(music.isPlaying());
    expectEndsAfter(1.5, start);
    const double opening = peak(start, start + seconds(0.4));
    EXPECT_GT(opening, kAudible);

    // Restarted, the tune opens as loud as the first time; the window skips the
    // buffers that may still carry the end of the first playing.
    const long restart = framesPlayed();
    ASSERT_TRUE(music.play());
    EXPECT_TRUE(music.isPlaying());
    waitFrames(seconds(0.5));
    EXPECT_NEAR(peak(restart + seconds(0.06), restart + seconds(0.4)), opening, opening * 0.1);

    ASSERT_TRUE(music.stop());
    EXPECT_FALSE(music.isPlaying());
    const long stopped = framesPlayed();
    waitFrames(seconds(0.4));
    // Silence from the next device buffers on: no release or reverb tail.
    EXPECT_LT(peak(stopped + seconds(0.1), framesPlayed()), kSilent);
}

// The fixture is a format-1 file with a tempo track: its last event, the end
// of its tracks, comes 3.0 s in.
TEST_F(AudioTest, MultiTrackTuneEndsWithItsLastEvent) {
    MusicPlayer& music = *m_audio.music;
    ASSERT_TRUE(music.createPerformance());
    ASSERT_TRUE(music.load(TINTARO_SOURCE_DIR "/tests/audio/fixtures/short.mid"));
    const long start = framesPlayed();
    ASSERT_TRUE(music.play());
    expectEndsAfter(3.0, start);
}

TEST_F(AudioTest, MasterVolumeScalesTheTune) {
    writeFile(m_dir / "MUSIC" / "001.MID", tuneMidi({60}));
    MusicPlayer& music = *m_audio.music;
    ASSERT_TRUE(music.createPerformance());
    ASSERT_TRUE(music.load(appPath("\\MUSIC\\001.MID")));
    // The same opening note at both levels, so only the gain differs.
    auto openingPeak = [&](int hundredths) {
        EXPECT_TRUE(music.setMasterVolume(hundredths));
        const long start = framesPlayed();
        EXPECT_TRUE(music.play());
        waitFrames(seconds(0.45));
        music.stop();
        // The first buffers after the request may still hold the previous playing.
        return peak(start + seconds(0.06), start + seconds(0.4));
    };
    const double playing = openingPeak(150);
    const double preparing = openingPeak(-3000);
    std::cout << "[ measure  ] peak of a loud piano note at +1.5 dB: " << 20 * std::log10(playing)
              << " dBFS\n";
    EXPECT_GT(playing, kAudible);
    EXPECT_NEAR(20 * std::log10(playing / std::max(preparing, kSilent)), 31.5, 1.0);
}

TEST_F(AudioTest, CreatingAPerformanceSilencesThePreviousOne) {
    writeFile(m_dir / "MUSIC" / "001.MID", tuneMidi({60, 62, 64, 65, 67, 69, 71, 72}));
    MusicPlayer& music = *m_audio.music;
    ASSERT_TRUE(music.createPerformance());
    ASSERT_TRUE(music.setMasterVolume(150));
    ASSERT_TRUE(music.load(appPath("\\MUSIC\\001.MID")));
    ASSERT_TRUE(music.play());
    waitFrames(seconds(0.3));
    ASSERT_TRUE(music.createPerformance());
    EXPECT_FALSE(music.isPlaying());
    EXPECT_FALSE(music.play()); // the new performance has no tune yet
    const long replaced = framesPlayed();
    waitFrames(seconds(0.4));
    EXPECT_LT(peak(replaced + seconds(0.1), framesPlayed()), kSilent);
    music.closeDown();
    EXPECT_FALSE(music.play());
}

// A damaged tune must not deafen a child in headphones. The shipped tune
// with its tempo event set to zero would play all its notes at once, a
// full-scale burst at every restart; a tune that stacks loud notes at the
// loudest master volume would clip. Listened to with the repeat tick's
// restarts, both stay below -1 dBFS, and both still play.
TEST_F(AudioTest, MusicNeverReachesFullScale) {
    std::vector<std::uint8_t> tempoZero = readFile(TINTARO_ASSETS "/MUSIC/001.MID");
    const std::vector<std::uint8_t> tempo = {0xFF, 0x51, 0x03};
    const auto at = std::search(tempoZero.begin(), tempoZero.end(), tempo.begin(), tempo.end());
    ASSERT_NE(at, tempoZero.end());
    std::fill_n(at + 3, 3, 0);
    writeFile(m_dir / "MUSIC" / "001.MID", tempoZero);
    writeFile(m_dir / "MUSIC" / "CHORD.MID", chordMidi({36, 40, 43, 48, 52, 55, 60, 64, 67, 72, 76, 79, 84}));
    openFastDevice();
    struct Case {
        const char* tune;
        int masterVolume;
        double seconds;
    };
    const Case cases[] = {
        {"\\MUSIC\\001.MID", 150, 12.0}, // the tempo-0 burst came about every 10.5 s
        {"\\MUSIC\\CHORD.MID", 7710, 3.0},
    };
    MusicPlayer& music = *m_audio.music;
    for (const Case& c : cases) {
        ASSERT_TRUE(music.createPerformance());
        ASSERT_TRUE(music.setMasterVolume(c.masterVolume));
        ASSERT_TRUE(music.load(appPath(c.tune))) << c.tune;
        const long start = framesPlayed();
        ASSERT_TRUE(music.play());
        for (long tick = start + seconds(0.5); tick < start + seconds(c.seconds); tick += seconds(0.5)) {
            waitFrames(tick - framesPlayed());
            if (!music.isPlaying()) {
                ASSERT_TRUE(music.play());
            }
        }
        ASSERT_TRUE(music.stop());
        const double loudest = peak(start, framesPlayed());
        std::cout << "[ measure  ] " << c.tune << " at master volume " << c.masterVolume << ": peak "
                  << dbfs(loudest) << " dBFS\n";
        EXPECT_LT(dbfs(loudest), -1.0) << c.tune;
        EXPECT_GT(loudest, kAudible) << c.tune;
    }
}

// A new effect cuts the one playing as the child hears it, without a click:
// the cut effect holds -12 dBFS, so stopping it dead would step from there
// to zero whenever the cut comes; fading it over a few milliseconds keeps
// every step from one sample to the next below -30 dBFS.
TEST_F(AudioTest, ACutEffectFadesOutWithoutAClick) {
    std::vector<double> held(static_cast<std::size_t>(3 * kRate));
    for (std::size_t i = 0; i < held.size(); ++i) {
        held[i] = 0.25 * std::min(1.0, i / (0.01 * kRate)); // a smooth start of its own
    }
    std::vector<double> tone(static_cast<std::size_t>(0.3 * kRate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = 0.25 * std::sin(2 * M_PI * 220 * i / kRate);
    }
    writeFile(m_dir / "SOUND" / "HELD.WAV", wavOf(held));
    writeFile(m_dir / "SOUND" / "TONE.WAV", wavOf(tone));
    const long start = framesPlayed();
    m_audio.effects->play(appPath("\\SOUND\\HELD.WAV"));
    waitFrames(seconds(0.3));
    EXPECT_NEAR(peak(framesPlayed() - seconds(0.1), framesPlayed()), 0.25, 0.01) << "the held effect sounds";
    m_audio.effects->play(appPath("\\SOUND\\TONE.WAV"));
    const long cut = framesPlayed();
    waitFrames(seconds(0.8));
    const double step = largestStep(start, framesPlayed());
    std::cout << "[ measure  ] largest sample-to-sample step around the cut: " << dbfs(step) << " dBFS\n";
    EXPECT_LT(dbfs(step), -30.0);
    // The new effect sounded at once, and the cut one did not come back.
    EXPECT_GT(peak(cut, cut + seconds(0.3)), 0.2);
    EXPECT_LT(peak(cut + seconds(0.5), framesPlayed()), kSilent);
}

// While the device is open SDL's audio thread wakes for every buffer, even to
// mix silence. After the idle delay with nothing sounding it closes; the next
// effect opens it again and is heard; the music holds it open while it plays.
TEST_F(AudioTest, DeviceClosesWhenQuietAndOpensAgainOnDemand) {
    m_audio = {};
    const std::shared_ptr<audio::MixerDevice> device = audio::MixerDevice::open(0.2);
    ASSERT_TRUE(device);
    const std::unique_ptr<SoundEffects> effects = audio::makeMixerEffects(device, realFiles());
    const std::unique_ptr<MusicPlayer> music = audio::makeFluidMusic(device, realFiles());
    auto closed = [&] { return !device->isOpen(); };
    EXPECT_TRUE(device->isOpen());
    ASSERT_TRUE(waitUntil(closed)) << "nothing sounds: the device closes";

    std::vector<double> tone(static_cast<std::size_t>(0.3 * kRate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = 0.5 * std::cos(2 * M_PI * 440 * i / kRate); // loud from its first sample
    }
    writeFile(m_dir / "SOUND" / "TONE.WAV", wavOf(tone));
    const auto clicked = std::chrono::steady_clock::now();
    effects->play(appPath("\\SOUND\\TONE.WAV"));
    EXPECT_TRUE(device->isOpen());
    // The disk driver starts its file afresh when the device opens.
    ASSERT_TRUE(waitUntil([&] { return peak(0, framesPlayed()) > 0.4; })) << "the effect is heard";
    const double heardAfter =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - clicked).count();
    std::cout << "[ measure  ] first effect after idle written to the disk device " << heardAfter * 1000
              << " ms after the request\n";
    ASSERT_TRUE(waitUntil(closed)) << "the effect over, the device closes again";

    writeFile(m_dir / "MUSIC" / "001.MID", tuneMidi({60, 62, 64, 65, 67, 69, 71, 72}));
    ASSERT_TRUE(music->createPerformance());
    ASSERT_TRUE(music->setMasterVolume(150));
    ASSERT_TRUE(music->load(appPath("\\MUSIC\\001.MID")));
    ASSERT_TRUE(music->play());
    EXPECT_TRUE(device->isOpen());
    waitFrames(seconds(1.5)); // several idle delays
    EXPECT_TRUE(device->isOpen()) << "the music holds the device";
    EXPECT_GT(peak(framesPlayed() - seconds(0.4), framesPlayed()), kAudible) << "the tune goes on";
    ASSERT_TRUE(music->stop());
    EXPECT_TRUE(waitUntil(closed)) << "the music stopped, the device closes";
}

// The first soundfont that loads serves; without one there is no music, and
// the button's flags then behave as without a device.
TEST_F(AudioTest, MusicUsesTheFirstSoundfontThatLoads) {
    writeFile(m_dir / "MUSIC" / "001.MID", tuneMidi({60}));
    const std::string tune = (m_dir / "MUSIC" / "001.MID").string();
    const std::string missing = (m_dir / "missing.sf2").string();
    struct Case {
        std::vector<std::string> soundfonts;
        bool music;
    };
    const Case cases[] = {
        {audio::defaultSoundfonts(), true},
        {{missing, audio::defaultSoundfonts().front()}, true},
        {{missing, tune}, false}, // a file that is not a soundfont
        {{}, false},
    };
    m_audio = {};
    const std::shared_ptr<audio::MixerDevice> device = audio::MixerDevice::open();
    ASSERT_TRUE(device);
    for (const Case& c : cases) {
        const std::unique_ptr<MusicPlayer> music = audio::makeFluidMusic(device, realFiles(), c.soundfonts);
        EXPECT_EQ(music->createPerformance(), c.music) << c.soundfonts.size() << " soundfonts";
        EXPECT_EQ(music->load(tune), c.music);
        EXPECT_EQ(music->play(), c.music);
    }
}

// Without an audio device the program goes on in silence: effects do nothing
// and the music reports that it cannot make a performance.
TEST(NoAudioDevice, EverythingIsSilentAndSaysSo) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    AudioSystem audio = openAudio(realFiles());
    ASSERT_TRUE(audio.effects && audio.music);
    audio.effects->play("/nonexistent\\SOUND\\CRVENA.WAV");
    EXPECT_FALSE(audio.music->createPerformance());
    EXPECT_FALSE(audio.music->setMasterVolume(150));
    EXPECT_FALSE(audio.music->load(TINTARO_SOURCE_DIR "/tests/audio/fixtures/short.mid"));
    EXPECT_FALSE(audio.music->play());
    EXPECT_FALSE(audio.music->isPlaying());
    EXPECT_FALSE(audio.music->stop());
    audio.music->closeDown();
}

TEST(MusicGain, FollowsDecibelsAndStaysInTheSynthRange) {
    struct Case {
        int hundredths;
        double gain;
    };
    const Case cases[] = {
        {-3000, audio::kMusicBaseGain * 0.0316228}, // level 0 while a performance is prepared
        {0, audio::kMusicBaseGain},
        {150, audio::kMusicBaseGain * 1.1885022}, // level 75, the playing level
        {-600, audio::kMusicBaseGain * 0.5011872},
        {7710, audio::kSynthMaxGain}, // level 255 is far beyond the synth
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(audio::musicGainForMasterVolume(c.hundredths), c.gain, 1e-6) << c.hundredths;
    }
}

} // namespace
