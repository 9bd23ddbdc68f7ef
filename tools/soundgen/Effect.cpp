// SPDX-License-Identifier: GPL-3.0-or-later

#include "Effect.h"

#include "Pitch.h"
#include "ScriptLines.h"
#include "Wav.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>

namespace tintaro::soundgen {

namespace {

double parseNumber(const std::string& text, const std::string& where) {
    try {
        std::size_t used = 0;
        const double v = std::stod(text, &used);
        if (used == text.size())
            return v;
    } catch (const std::exception&) {
    }
    throw std::runtime_error(where + ": not a number: " + text);
}

double parseHz(const std::string& text, const std::string& where) {
    if (auto hz = parseFrequency(text))
        return *hz;
    throw std::runtime_error(where + ": not a note or frequency: " + text);
}

Strike parseStrike(const std::string& voice, std::istringstream& words, const std::string& where) {
    Strike s;
    s.voice = voice;
    std::string word;
    while (words >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(where + ": expected key=value, got " + word);
        const std::string key = word.substr(0, eq);
        const std::string value = word.substr(eq + 1);
        if (key == "at")
            s.at = parseNumber(value, where);
        else if (key == "note")
            s.freq = parseHz(value, where);
        else if (key == "to")
            s.to = parseHz(value, where);
        else if (key == "dur")
            s.dur = parseNumber(value, where);
        else if (key == "ring")
            s.ring = parseNumber(value, where);
        else if (key == "amp")
            s.amp = parseNumber(value, where);
        else if (key == "q")
            s.q = parseNumber(value, where);
        else if (key == "vib")
            s.vib = parseNumber(value, where);
        else if (key == "rate")
            s.rate = parseNumber(value, where);
        else
            throw std::runtime_error(where + ": unknown key " + key);
    }
    if (s.at < 0 || s.dur <= 0 || s.ring <= 0 || s.amp <= 0 || s.q <= 0)
        throw std::runtime_error(where + ": times, amp and q must be positive");
    return s;
}

// A small mono Schroeder reverberator (four damped combs, two all-passes):
// enough to put the dry synthesis in a friendly room.
class Room {
  public:
    Room() {
        for (std::size_t i = 0; i < m_combs.size(); ++i)
            m_combs[i].line.assign(kCombDelays[i], 0.0);
        for (std::size_t i = 0; i < m_allpasses.size(); ++i)
            m_allpasses[i].line.assign(kAllpassDelays[i], 0.0);
    }
    double process(double in) {
        double sum = 0;
        for (Comb& c : m_combs) {
            const double out = c.line[c.pos];
            c.filtered = out * (1 - kDamp) + c.filtered * kDamp;
            c.line[c.pos] = in + c.filtered * kFeedback;
            c.pos = (c.pos + 1) % c.line.size();
            sum += out;
        }
        double out = sum / static_cast<double>(m_combs.size());
        for (Allpass& a : m_allpasses) {
            const double delayed = a.line[a.pos];
            a.line[a.pos] = out + delayed * 0.5;
            out = delayed - out;
            a.pos = (a.pos + 1) % a.line.size();
        }
        return out;
    }

  private:
    static constexpr std::array<std::size_t, 4> kCombDelays = {1116, 1277, 1422, 1557};
    static constexpr std::array<std::size_t, 2> kAllpassDelays = {556, 341};
    static constexpr double kFeedback = 0.76;
    static constexpr double kDamp = 0.35;
    struct Comb {
        std::vector<double> line;
        std::size_t pos = 0;
        double filtered = 0;
    };
    struct Allpass {
        std::vector<double> line;
        std::size_t pos = 0;
    };
    std::array<Comb, 4> m_combs;
    std::array<Allpass, 2> m_allpasses;
};

} // namespace

EffectScript parseEffect(std::string_view text, const std::string& sourceName) {
    EffectScript script;
    forEachDirective(text, sourceName,
                     [&](const std::string& head, std::istringstream& words, const std::string& where,
                         [[maybe_unused]] int lineNo) {
                         std::string value;
                         if (head == "length" || head == "peak" || head == "room" || head == "tone") {
                             if (!(words >> value))
                                 throw std::runtime_error(where + ": " + head + " needs a value");
                             double& setting = head == "length" ? script.length
                                               : head == "peak" ? script.peakDb
                                               : head == "room" ? script.room
                                                                : script.tone;
                             setting = parseNumber(value, where);
                         } else if (isVoice(head)) {
                             script.strikes.push_back(parseStrike(head, words, where));
                             script.strikes.back().seed = static_cast<std::uint32_t>(lineNo);
                         } else {
                             throw std::runtime_error(where + ": unknown voice or setting '" + head +
                                                      "' (voices: " + voiceList() + ")");
                         }
                     });
    if (script.strikes.empty())
        throw std::runtime_error(sourceName + ": no sounds");
    if (script.length < 0.2 || script.length > 1.2)
        throw std::runtime_error(sourceName + ": length must lie between 0.2 and 1.2 s");
    if (script.peakDb < -6 || script.peakDb > -1)
        throw std::runtime_error(sourceName + ": peak must lie between -6 and -1 dBFS");
    return script;
}

std::vector<std::int16_t> renderEffect(const EffectScript& script) {
    const auto total = static_cast<std::size_t>(std::lround(script.length * kSampleRate));
    std::vector<float> dry(total, 0.0f);
    for (const Strike& s : script.strikes)
        addStrike(s, dry);

    std::vector<double> out(total, 0.0);
    Room room;
    const double toneCoeff = 1.0 - std::exp(-2 * std::numbers::pi * script.tone / kSampleRate);
    const double dcCoeff = 1.0 - 2 * std::numbers::pi * 30.0 / kSampleRate;
    double low1 = 0, low2 = 0, dcIn = 0, dcOut = 0;
    for (std::size_t n = 0; n < total; ++n) {
        // Two gentle one-pole low-passes take the edge off the highs.
        low1 += toneCoeff * (dry[n] - low1);
        low2 += toneCoeff * (low1 - low2);
        const double wet = low2 + script.room * room.process(low2);
        // DC blocker: filtered noise leaves a slow offset otherwise.
        dcOut = wet - dcIn + dcCoeff * dcOut;
        dcIn = wet;
        out[n] = dcOut;
    }

    // Fade the end out over up to 120 ms so no effect stops with a click.
    const std::size_t fade = std::min<std::size_t>(total / 4, kSampleRate * 12 / 100);
    for (std::size_t i = 0; i < fade; ++i) {
        const double g =
            0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / static_cast<double>(fade));
        out[total - 1 - i] *= g;
    }
    // And fade the start in over 6 ms: still heard as a strike, but without the
    // click of a sound that starts at full strength.
    const std::size_t fadeIn = kSampleRate * 6 / 1000;
    for (std::size_t i = 0; i < fadeIn && i < total; ++i)
        out[i] *=
            0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / static_cast<double>(fadeIn));

    double peak = 0;
    for (double v : out)
        peak = std::max(peak, std::abs(v));
    if (peak <= 0)
        throw std::runtime_error("effect renders silent");
    const double scale = std::pow(10.0, script.peakDb / 20.0) * 32768.0 / peak;
    std::vector<std::int16_t> pcm(total);
    for (std::size_t n = 0; n < total; ++n)
        pcm[n] = static_cast<std::int16_t>(std::lround(out[n] * scale));
    return pcm;
}

} // namespace tintaro::soundgen
