// SPDX-License-Identifier: GPL-3.0-or-later

#include "Voices.h"

#include "Wav.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace tintaro::soundgen {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRate = kSampleRate;
// Partials above this are left out: small speakers turn them into hiss and
// children's ears are more sensitive up there than ours.
constexpr double kHighestPartial = 9000;

struct Partial {
    double ratio;     // frequency relative to the fundamental
    double gain;      // loudness relative to the fundamental
    double ringScale; // how much sooner than the fundamental it dies away
};

// A raised-cosine ramp: even a "struck" sound starts over a few milliseconds,
// which removes the click without dulling the strike.
double attackRamp(double t, double attack) {
    return t >= attack ? 1.0 : 0.5 - 0.5 * std::cos(kPi * t / attack);
}

// exp decay that reaches -60 dB after `ring` seconds.
double ringDecay(double t, double ring) {
    return std::exp(-6.907755 * t / ring);
}

double hump(double t, double dur) {
    if (t <= 0 || t >= dur)
        return 0;
    const double s = std::sin(kPi * t / dur);
    return s * s;
}

// Pitch multiplier at time t for glides and vibrato.
double pitchAt(const Strike& s, double t, double vibDepthScale = 1.0) {
    double factor = 1.0;
    if (s.to > 0)
        factor *= std::pow(s.to / s.freq, std::min(t / s.dur, 1.0));
    if (s.vib > 0)
        factor *= std::pow(2.0, vibDepthScale * s.vib / 1200.0 * std::sin(2 * kPi * s.rate * t));
    return factor;
}

std::size_t sampleAt(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kRate));
}

void ensureLength(std::vector<float>& mix, std::size_t n) {
    if (mix.size() < n)
        mix.resize(n, 0.0f);
}

// Deterministic white noise, so that regenerating the assets gives the same bytes.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : m_state(seed * 2654435761u + 0x9e3779b9u) {}
    double next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(m_state) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t m_state;
};

// Chamberlin state-variable filter; stable for the cut-offs used here (< 8 kHz).
class StateVariableFilter {
  public:
    void tune(double cutoff, double q) {
        m_f = 2 * std::sin(kPi * std::min(cutoff, 8000.0) / kRate);
        m_damp = 1.0 / q;
    }
    void step(double in) {
        m_low += m_f * m_band;
        const double high = in - m_low - m_damp * m_band;
        m_band += m_f * high;
    }
    double low() const { return m_low; }
    double band() const { return m_band; }

  private:
    double m_f = 0.1, m_damp = 0.5, m_low = 0, m_band = 0;
};

void additive(const Strike& s, std::span<const Partial> partials, double attack, double vibFade,
              std::vector<float>& mix) {
    const std::size_t start = sampleAt(s.at);
    const std::size_t count = sampleAt(s.ring);
    ensureLength(mix, start + count);
    for (const Partial& p : partials) {
        if (s.freq * p.ratio * std::max(1.0, s.to / s.freq) > kHighestPartial)
            continue;
        const double ring = s.ring * p.ringScale;
        double phase = 0;
        for (std::size_t n = 0; n < count; ++n) {
            const double t = static_cast<double>(n) / kRate;
            const double vibScale = vibFade > 0 ? std::exp(-t / vibFade) : 1.0;
            phase += 2 * kPi * s.freq * p.ratio * pitchAt(s, t, vibScale) / kRate;
            const double env = attackRamp(t, attack) * ringDecay(t, ring);
            mix[start + n] += static_cast<float>(s.amp * p.gain * env * std::sin(phase));
        }
    }
}

// A sine whose pitch rises quickly: the sound of an air bubble leaving water.
void bubble(const Strike& s, std::vector<float>& mix) {
    static constexpr Partial kPure[] = {{1, 1, 1}};
    additive(s, kPure, 0.004, 0, mix);
}

// A short sliding whistle that swells and fades, like a small bird.
void chirp(const Strike& s, std::vector<float>& mix) {
    const std::size_t start = sampleAt(s.at);
    const std::size_t count = sampleAt(s.dur);
    ensureLength(mix, start + count);
    double phase = 0;
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / kRate;
        phase += 2 * kPi * s.freq * pitchAt(s, t) / kRate;
        mix[start + n] += static_cast<float>(s.amp * hump(t, s.dur) * std::sin(phase));
    }
}

// Karplus-Strong: a burst of softened noise circulating in a delay line that
// loses a little treble on every pass, which is what a plucked string does.
void pluck(const Strike& s, std::vector<float>& mix) {
    const std::size_t start = sampleAt(s.at);
    const std::size_t count = sampleAt(s.ring);
    ensureLength(mix, start + count);
    const auto period = static_cast<std::size_t>(std::max(2L, std::lround(kRate / s.freq)));
    Noise noise(s.seed);
    std::vector<double> line(period);
    for (double& v : line)
        v = noise.next();
    // Smoothing the burst takes away the scratch of the pick: a round, nylon-like tone.
    for (int pass = 0; pass < 8; ++pass)
        for (std::size_t i = 0; i < period; ++i)
            line[i] = 0.5 * (line[i] + line[(i + 1) % period]);
    const double loss = std::pow(0.001, 1.0 / (s.freq * s.ring));
    std::size_t i = 0;
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double out = line[i];
        line[i] = 0.5 * (line[i] + line[(i + 1) % period]) * loss;
        i = (i + 1) % period;
        mix[start + n] += static_cast<float>(s.amp * attackRamp(t, 0.004) * out);
    }
}

// Breath-like noise through a band-pass whose centre glides from `freq` to
// `to`: a swoosh, a sweep of a cloth, a wave. Two filters in a row give the
// band steep sides, so no hiss is left far above it.
void swoosh(const Strike& s, std::vector<float>& mix) {
    const std::size_t start = sampleAt(s.at);
    const std::size_t count = sampleAt(s.dur);
    ensureLength(mix, start + count);
    Noise noise(s.seed);
    StateVariableFilter first, second;
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double centre = s.freq * pitchAt(s, t);
        first.tune(centre, s.q);
        second.tune(centre, s.q);
        first.step(noise.next());
        second.step(first.band());
        mix[start + n] += static_cast<float>(s.amp * hump(t, s.dur) * second.band());
    }
}

// A splash: noise through a low-pass that closes from `freq` towards `to`
// while the sound dies away.
void splash(const Strike& s, std::vector<float>& mix) {
    const std::size_t start = sampleAt(s.at);
    const std::size_t count = sampleAt(s.ring);
    ensureLength(mix, start + count);
    Noise noise(s.seed);
    StateVariableFilter filter;
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / kRate;
        filter.tune(s.freq * pitchAt(s, t), s.q);
        filter.step(noise.next());
        const double env = attackRamp(t, 0.006) * ringDecay(t, s.ring);
        mix[start + n] += static_cast<float>(s.amp * env * filter.low());
    }
}

void marimba(const Strike& s, std::vector<float>& mix) {
    // A tuned wooden bar: the overtone near four times the fundamental is what
    // makes it a marimba rather than a sine, and it dies away first.
    static constexpr Partial kBar[] = {{1, 1, 1}, {3.93, 0.22, 0.25}, {9.2, 0.05, 0.1}};
    additive(s, kBar, 0.005, 0, mix);
}

void bell(const Strike& s, std::vector<float>& mix) {
    // Glockenspiel-like: inharmonic partials of a metal bar, quieter the higher.
    static constexpr Partial kBar[] = {{1, 1, 1}, {2.76, 0.3, 0.55}, {5.40, 0.12, 0.3}, {8.93, 0.05, 0.18}};
    additive(s, kBar, 0.004, 0, mix);
}

void chime(const Strike& s, std::vector<float>& mix) {
    // Two nearly equal partials beat slowly against each other: a soft shimmer.
    static constexpr Partial kShimmer[] = {{1, 1, 1}, {1.0035, 0.6, 1}, {2, 0.18, 0.6}, {3, 0.06, 0.35}};
    additive(s, kShimmer, 0.012, 0, mix);
}

void kalimba(const Strike& s, std::vector<float>& mix) {
    static constexpr Partial kTine[] = {{1, 1, 1}, {3.0, 0.08, 0.25}, {6.1, 0.12, 0.08}};
    additive(s, kTine, 0.004, 0, mix);
}

void wood(const Strike& s, std::vector<float>& mix) {
    static constexpr Partial kBlock[] = {{1, 1, 1}, {2.72, 0.35, 0.5}, {4.9, 0.1, 0.3}};
    additive(s, kBlock, 0.003, 0, mix);
}

void soft(const Strike& s, std::vector<float>& mix) {
    // A round, slowly swelling tone for the low voices, nearly a pure sine.
    static constexpr Partial kRound[] = {{1, 1, 1}, {2, 0.12, 0.7}, {3, 0.03, 0.5}};
    additive(s, kRound, 0.02, 0, mix);
}

void boing(const Strike& s, std::vector<float>& mix) {
    // A spring: wide vibrato that settles as the sound fades.
    static constexpr Partial kSpring[] = {{1, 1, 1}, {2, 0.15, 0.5}};
    additive(s, kSpring, 0.004, s.ring / 3, mix);
}

struct VoiceEntry {
    std::string_view name;
    void (*render)(const Strike&, std::vector<float>&);
};

constexpr VoiceEntry kVoices[] = {
    {"marimba", marimba}, {"bell", bell},   {"chime", chime},   {"kalimba", kalimba},
    {"wood", wood},       {"soft", soft},   {"boing", boing},   {"bubble", bubble},
    {"chirp", chirp},     {"pluck", pluck}, {"swoosh", swoosh}, {"splash", splash},
};

} // namespace

bool isVoice(std::string_view name) {
    return std::ranges::any_of(kVoices, [&](const VoiceEntry& v) { return v.name == name; });
}

std::string voiceList() {
    std::string list;
    for (const VoiceEntry& v : kVoices) {
        if (!list.empty())
            list += ", ";
        list += v.name;
    }
    return list;
}

void addStrike(const Strike& strike, std::vector<float>& mix) {
    for (const VoiceEntry& v : kVoices)
        if (v.name == strike.voice)
            v.render(strike, mix);
}

} // namespace tintaro::soundgen
