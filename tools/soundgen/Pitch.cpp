// SPDX-License-Identifier: GPL-3.0-or-later

#include "Pitch.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tintaro::soundgen {

std::optional<int> parseNoteName(std::string_view text) {
    if (text.size() < 2)
        return std::nullopt;
    static constexpr int kSemitoneOfLetter[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    const char letter = text[0];
    if (letter < 'A' || letter > 'G')
        return std::nullopt;
    int semitone = kSemitoneOfLetter[letter - 'A'];
    std::size_t pos = 1;
    if (text[pos] == '#') {
        ++semitone;
        ++pos;
    } else if (text[pos] == 'b') {
        --semitone;
        ++pos;
    }
    int octave = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data() + pos, end, octave);
    if (ec != std::errc{} || ptr != end || pos == text.size())
        return std::nullopt;
    const int note = 12 * (octave + 1) + semitone;
    if (note < 0 || note > 127)
        return std::nullopt;
    return note;
}

double midiToHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

std::optional<double> parseFrequency(std::string_view text) {
    if (text.ends_with("hz")) {
        try {
            std::size_t used = 0;
            const std::string number(text.substr(0, text.size() - 2));
            const double hz = std::stod(number, &used);
            if (used == number.size() && hz > 0)
                return hz;
        } catch (const std::exception&) {
        }
        return std::nullopt;
    }
    if (auto note = parseNoteName(text))
        return midiToHz(*note);
    return std::nullopt;
}

} // namespace tintaro::soundgen
