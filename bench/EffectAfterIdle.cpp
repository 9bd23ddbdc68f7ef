// SPDX-License-Identifier: GPL-3.0-or-later
// The first sound effect after the audio device has gone quiet and closed:
// how long the request takes (it opens the device again), and when the
// effect's first loud sample is heard, that is, reaches a file that records
// the output: the disk driver's own file, or a recording of a sound server's
// output (for PulseAudio, parec of the sink's monitor, whose own latency is
// included).
// usage: effect_after_idle [ROUNDS] [RECORDING]
//   SDL_AUDIODRIVER picks the driver (SDL's default when unset); the disk
//   driver writes to SDL_DISKAUDIOFILE, a temporary file when unset, and is
//   the recording unless one is given. Recordings are signed 16-bit.

#include "platform/audio/MixerDevice.h"
#include "platform/posix/PosixFiles.h"
#include "support/WavFile.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace tintaro;
using Steady = std::chrono::steady_clock;

namespace {

constexpr int kRate = 44100;

// A mono tone at half of full scale, loud from its first sample.
void writeTone(const fs::path& path) {
    const std::uint32_t frames = kRate / 5;
    std::vector<std::int16_t> samples;
    samples.reserve(frames);
    for (std::uint32_t i = 0; i < frames; ++i) {
        samples.push_back(
            static_cast<std::int16_t>(std::lround(16383 * std::cos(2 * M_PI * 440 * i / kRate))));
    }
    const auto wav = test::monoWav(samples, kRate);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
}

std::uintmax_t sizeOf(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? 0 : size;
}

// Whether the file holds a sample of at least half of full scale after the
// given offset (from its start if it has begun afresh since).
bool holdsLoudSample(const fs::path& path, std::uintmax_t from) {
    if (sizeOf(path) < from) {
        from = 0;
    }
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from & ~std::uintmax_t{1}));
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                      (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        if (std::abs(sample) >= 16000) {
            return true;
        }
    }
    return false;
}

double milliseconds(Steady::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void report(const char* what, std::vector<double> values) {
    if (values.empty()) {
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("%-44s median %7.2f ms   max %7.2f ms   (%zu rounds)\n", what, values[values.size() / 2],
                values.back(), values.size());
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    const char* recording = argc > 2 ? argv[2] : nullptr;
    const fs::path dir =
        fs::temp_directory_path() / ("tintaro-effect-after-idle-" + std::to_string(::getpid()));
    fs::create_directories(dir / "SOUND");
    writeTone(dir / "SOUND" / "TONE.WAV");
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const bool disk = driver != nullptr && std::string(driver) == "disk";
    if (disk && std::getenv("SDL_DISKAUDIOFILE") == nullptr) {
        ::setenv("SDL_DISKAUDIOFILE", (dir / "device.raw").c_str(), 1);
    }
    if (disk && recording == nullptr) {
        recording = std::getenv("SDL_DISKAUDIOFILE");
    }
    // A short idle delay: opening again costs the same after any delay.
    const std::shared_ptr<audio::MixerDevice> device = audio::MixerDevice::open(0.3);
    if (!device) {
        std::printf("no audio device (driver %s)\n", driver != nullptr ? driver : "SDL's default");
        fs::remove_all(dir);
        return 1;
    }
    PosixFiles files;
    const std::unique_ptr<SoundEffects> effects = audio::makeMixerEffects(device, files);
    std::printf("First effect after idle, audio driver %s\n", device->driverName().c_str());
    std::vector<double> requests, heard;
    int unheard = 0;
    for (int round = 0; round < rounds; ++round) {
        while (device->isOpen()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const std::uintmax_t before = recording != nullptr ? sizeOf(recording) : 0;
        const auto clicked = Steady::now();
        effects->play((dir / "SOUND" / "TONE.WAV").string());
        requests.push_back(milliseconds(Steady::now() - clicked));
        if (recording != nullptr) {
            bool loud = false;
            while (!(loud = holdsLoudSample(recording, before)) &&
                   Steady::now() - clicked < std::chrono::seconds(5)) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            // A round never heard is no time at all, and says so below.
            if (loud) {
                heard.push_back(milliseconds(Steady::now() - clicked));
            } else {
                ++unheard;
            }
        }
    }
    report("request (opens the device, starts the effect)", requests);
    report("first loud sample in the recording", heard);
    if (unheard > 0) {
        std::printf("the effect was not heard within 5 s in %d of %d rounds\n", unheard, rounds);
    }
    fs::remove_all(dir);
    return unheard > 0 ? 1 : 0;
}
