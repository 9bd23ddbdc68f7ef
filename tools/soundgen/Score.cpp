// SPDX-License-Identifier: GPL-3.0-or-later

#include "Score.h"

#include "Midi.h"
#include "Pitch.h"
#include "ScriptLines.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace tintaro::soundgen {

namespace {

constexpr int kTicksPerQuarter = 480;

enum class Role { Melody, Accompaniment, Bass, Percussion };

struct Instrument {
    std::string name;
    Role role = Role::Melody;
    int channel = 0; // 0-based
    int program = 0; // 0-based
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int velocity = 80;
};

struct Chord {
    int root = 0; // semitone above C
    std::vector<int> intervals;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

struct WrittenNote {
    int key = -1; // -1 for a rest
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

struct Section {
    std::string name;
    std::string where;
    std::string accompaniment = "arp";
    std::string bass = "halves";
    std::string drums = "soft";
    std::optional<double> tempo;
    int dynamics = 0;          // added to every velocity of the section
    std::vector<Chord> chords; // start relative to the section
    std::uint32_t length = 0;
    std::map<std::string, std::vector<WrittenNote>> lines;
    std::map<std::string, std::uint32_t> lineLengths;
};

struct ParsedScore {
    std::string title = "Tintaro";
    double tempo = 100;
    int beatsPerBar = 4;
    int beatUnit = 4;
    std::vector<Instrument> instruments;
    std::vector<Section> sections;

    std::uint32_t barTicks() const {
        return static_cast<std::uint32_t>(beatsPerBar * kTicksPerQuarter * 4 / beatUnit);
    }
    std::uint32_t beatTicks() const { return static_cast<std::uint32_t>(kTicksPerQuarter * 4 / beatUnit); }
    const Instrument* find(const std::string& name) const {
        for (const Instrument& i : instruments)
            if (i.name == name)
                return &i;
        return nullptr;
    }
};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

int parseInt(const std::string& text, const std::string& where) {
    try {
        std::size_t used = 0;
        const int v = std::stoi(text, &used);
        if (used == text.size())
            return v;
    } catch (const std::exception&) {
    }
    fail(where, "not a whole number: " + text);
}

std::map<std::string, std::string> keyValues(std::istringstream& words, const std::string& where) {
    std::map<std::string, std::string> pairs;
    std::string word;
    while (words >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos || eq == 0)
            fail(where, "expected key=value, got " + word);
        pairs[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return pairs;
}

// "4" a quarter, "8." a dotted eighth, "1" a whole note.
std::uint32_t parseDuration(const std::string& text, const std::string& where) {
    const bool dotted = text.ends_with('.');
    const int division = parseInt(dotted ? text.substr(0, text.size() - 1) : text, where);
    if (division != 1 && division != 2 && division != 4 && division != 8 && division != 16)
        fail(where, "durations are 1, 2, 4, 8 or 16, optionally dotted: " + text);
    const std::uint32_t ticks = static_cast<std::uint32_t>(kTicksPerQuarter * 4 / division);
    return dotted ? ticks * 3 / 2 : ticks;
}

Chord parseChord(const std::string& symbol, const std::string& where) {
    Chord chord;
    static constexpr int kSemitoneOfLetter[] = {9, 11, 0, 2, 4, 5, 7};
    if (symbol.empty() || symbol[0] < 'A' || symbol[0] > 'G')
        fail(where, "not a chord: " + symbol);
    chord.root = kSemitoneOfLetter[symbol[0] - 'A'];
    std::size_t pos = 1;
    if (pos < symbol.size() && (symbol[pos] == '#' || symbol[pos] == 'b'))
        chord.root += symbol[pos++] == '#' ? 1 : -1;
    chord.root = (chord.root + 12) % 12;
    static const std::map<std::string, std::vector<int>> kQualities = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus4", {0, 5, 7}}, {"6", {0, 4, 7, 9}},
    };
    const auto quality = kQualities.find(symbol.substr(pos));
    if (quality == kQualities.end())
        fail(where, "unknown chord quality in " + symbol);
    chord.intervals = quality->second;
    return chord;
}

// Splits a line into bars at '|' and checks that each bar is full.
std::vector<std::vector<std::string>> splitBars(std::istringstream& words, const std::string& where) {
    std::vector<std::vector<std::string>> bars;
    std::vector<std::string> current;
    std::string word;
    bool open = false;
    while (words >> word) {
        if (word == "|") {
            if (open && current.empty())
                fail(where, "empty bar");
            if (open)
                bars.push_back(std::move(current));
            current.clear();
            open = true;
        } else {
            if (!open)
                fail(where, "a line of music starts with '|'");
            current.push_back(word);
        }
    }
    if (!current.empty())
        fail(where, "a line of music ends with '|'");
    return bars;
}

void parseChordLine(Section& section, std::istringstream& words, const ParsedScore& score,
                    const std::string& where) {
    const std::uint32_t bar = score.barTicks();
    for (const auto& symbols : splitBars(words, where)) {
        const auto each = bar / static_cast<std::uint32_t>(symbols.size());
        if (each * symbols.size() != bar)
            fail(where, "a bar's chords must split it evenly");
        for (const std::string& symbol : symbols) {
            Chord chord = parseChord(symbol, where);
            chord.start = section.length;
            chord.length = each;
            section.chords.push_back(chord);
            section.length += each;
        }
    }
}

void parseMelodyLine(Section& section, const std::string& instrument, std::istringstream& words,
                     const ParsedScore& score, const std::string& where) {
    auto& notes = section.lines[instrument];
    auto& position = section.lineLengths[instrument];
    std::uint32_t duration = kTicksPerQuarter; // durations carry over until a note gives a new one
    int barNo = 0;
    for (const auto& bar : splitBars(words, where)) {
        ++barNo;
        std::uint32_t filled = 0;
        for (const std::string& token : bar) {
            const auto slash = token.find('/');
            const std::string pitch = token.substr(0, slash);
            if (slash != std::string::npos)
                duration = parseDuration(token.substr(slash + 1), where);
            WrittenNote note;
            if (pitch != "r") {
                const auto key = parseNoteName(pitch);
                if (!key)
                    fail(where, "not a note: " + token);
                note.key = *key;
            }
            note.start = position + filled;
            note.length = duration;
            notes.push_back(note);
            filled += duration;
        }
        if (filled != score.barTicks())
            fail(where, "bar " + std::to_string(barNo) + " of " + instrument + " holds " +
                            std::to_string(filled) + " ticks, a bar is " + std::to_string(score.barTicks()));
        position += filled;
    }
}

Role parseRole(const std::string& text, const std::string& where) {
    if (text == "melody")
        return Role::Melody;
    if (text == "accompaniment")
        return Role::Accompaniment;
    if (text == "bass")
        return Role::Bass;
    if (text == "percussion")
        return Role::Percussion;
    fail(where, "role is melody, accompaniment, bass or percussion: " + text);
}

Instrument parseInstrument(const std::string& name, std::istringstream& words, const std::string& where) {
    Instrument inst;
    inst.name = name;
    for (const auto& [key, value] : keyValues(words, where)) {
        if (key == "role")
            inst.role = parseRole(value, where);
        else if (key == "channel")
            inst.channel = parseInt(value, where) - 1;
        else if (key == "program")
            inst.program = parseInt(value, where) - 1;
        else if (key == "volume")
            inst.volume = parseInt(value, where);
        else if (key == "pan")
            inst.pan = parseInt(value, where);
        else if (key == "reverb")
            inst.reverb = parseInt(value, where);
        else if (key == "velocity")
            inst.velocity = parseInt(value, where);
        else
            fail(where, "unknown instrument setting " + key);
    }
    if (inst.channel < 0 || inst.channel > 15 || inst.program < 0 || inst.program > 127)
        fail(where, "channel is 1 to 16 and program 1 to 128 (General MIDI numbering)");
    if ((inst.role == Role::Percussion) != (inst.channel == 9))
        fail(where, "percussion, and only percussion, plays on channel 10");
    return inst;
}

ParsedScore parse(std::string_view text, const std::string& sourceName) {
    ParsedScore score;
    forEachDirective(text, sourceName,
                     [&](const std::string& head, std::istringstream& words, const std::string& where,
                         [[maybe_unused]] int lineNo) {
                         if (head == "title") {
                             std::getline(words >> std::ws, score.title);
                         } else if (head == "tempo") {
                             std::string v;
                             words >> v;
                             score.tempo = parseInt(v, where);
                         } else if (head == "meter") {
                             std::string a, b;
                             words >> a >> b;
                             score.beatsPerBar = parseInt(a, where);
                             score.beatUnit = parseInt(b, where);
                             if (score.beatUnit != 2 && score.beatUnit != 4 && score.beatUnit != 8)
                                 fail(where, "the beat unit is 2, 4 or 8");
                         } else if (head == "instrument") {
                             std::string name;
                             if (!(words >> name) || score.find(name) || name == "chords")
                                 fail(where, "an instrument needs a new name");
                             score.instruments.push_back(parseInstrument(name, words, where));
                         } else if (head == "section") {
                             Section section;
                             if (!(words >> section.name))
                                 fail(where, "a section needs a name");
                             section.where = where;
                             for (const auto& [key, value] : keyValues(words, where)) {
                                 if (key == "accompaniment")
                                     section.accompaniment = value;
                                 else if (key == "bass")
                                     section.bass = value;
                                 else if (key == "drums")
                                     section.drums = value;
                                 else if (key == "tempo")
                                     section.tempo = parseInt(value, where);
                                 else if (key == "dynamics")
                                     section.dynamics = parseInt(value, where);
                                 else
                                     fail(where, "unknown section setting " + key);
                             }
                             score.sections.push_back(std::move(section));
                         } else if (score.sections.empty()) {
                             fail(where, "music before the first section");
                         } else if (head == "chords") {
                             parseChordLine(score.sections.back(), words, score, where);
                         } else if (const Instrument* inst = score.find(head);
                                    inst && inst->role == Role::Melody) {
                             parseMelodyLine(score.sections.back(), head, words, score, where);
                         } else {
                             fail(where, "'" + head + "' is neither a setting nor a melody instrument");
                         }
                     });
    if (score.sections.empty())
        fail(sourceName, "no sections");
    for (const Section& s : score.sections) {
        if (s.length == 0)
            fail(s.where, "section " + s.name + " has no chords line, which sets its length");
        for (const auto& [name, length] : s.lineLengths)
            if (length != s.length)
                fail(s.where, "in section " + s.name + ", " + name + " is not as long as the chords");
    }
    return score;
}

// Puts a pitch class into the octave that starts at `lowest`.
int place(int pitchClass, int lowest) {
    return lowest + ((pitchClass - lowest) % 12 + 12) % 12;
}

int clampVelocity(int v) {
    return std::clamp(v, 1, 127);
}

// Strong beats a little louder, off-beats a little softer: the music breathes.
int accent(std::uint32_t tick, const ParsedScore& score) {
    const std::uint32_t inBar = tick % score.barTicks();
    if (inBar == 0)
        return 8;
    if (inBar * 2 == score.barTicks())
        return 4;
    return inBar % score.beatTicks() == 0 ? 0 : -4;
}

class Arranger {
  public:
    explicit Arranger(const ParsedScore& score) : m_score(score) {}

    std::vector<std::uint8_t> arrange() {
        std::vector<MidiTrack> tracks(1 + m_score.instruments.size());
        MidiTrack& conductor = tracks[0];
        conductor.trackName(m_score.title);
        conductor.timeSignature(0, m_score.beatsPerBar, m_score.beatUnit);
        conductor.tempo(0, m_score.tempo);

        for (std::size_t i = 0; i < m_score.instruments.size(); ++i)
            setUp(tracks[i + 1], m_score.instruments[i]);

        std::uint32_t sectionStart = 0;
        for (const Section& section : m_score.sections) {
            if (section.tempo)
                conductor.tempo(sectionStart, *section.tempo);
            for (std::size_t i = 0; i < m_score.instruments.size(); ++i)
                play(tracks[i + 1], m_score.instruments[i], section, sectionStart);
            sectionStart += section.length;
        }
        return encodeMidiFile(tracks, kTicksPerQuarter, sectionStart);
    }

  private:
    static void setUp(MidiTrack& track, const Instrument& inst) {
        track.trackName(inst.name);
        if (inst.role != Role::Percussion)
            track.program(0, inst.channel, inst.program);
        track.control(0, inst.channel, 7, inst.volume);
        track.control(0, inst.channel, 10, inst.pan);
        track.control(0, inst.channel, 91, inst.reverb);
    }

    void play(MidiTrack& track, const Instrument& inst, const Section& section, std::uint32_t at) const {
        switch (inst.role) {
        case Role::Melody:
            playMelody(track, inst, section, at);
            break;
        case Role::Accompaniment:
            for (const Chord& c : section.chords)
                playAccompaniment(track, inst, section, c, at + c.start);
            break;
        case Role::Bass:
            for (const Chord& c : section.chords)
                playBass(track, inst, section, c, at + c.start);
            break;
        case Role::Percussion:
            playDrums(track, inst, section, at);
            break;
        }
    }

    void playMelody(MidiTrack& track, const Instrument& inst, const Section& section,
                    std::uint32_t at) const {
        const auto line = section.lines.find(inst.name);
        if (line == section.lines.end())
            return;
        for (const WrittenNote& n : line->second) {
            if (n.key < 0)
                continue;
            // A small gap before the next note keeps repeated notes distinct.
            const std::uint32_t sounding = n.length - std::min<std::uint32_t>(n.length / 8, 40);
            const int velocity = inst.velocity + section.dynamics + accent(n.start, m_score);
            track.note(at + n.start, inst.channel, n.key, clampVelocity(velocity), sounding);
        }
    }

    void playAccompaniment(MidiTrack& track, const Instrument& inst, const Section& section,
                           const Chord& chord, std::uint32_t at) const {
        const int root = place(chord.root, 48); // C3..B3
        const int third = root + 12 + chord.intervals[1];
        const int fifth = root + chord.intervals[2];
        const int top = chord.intervals.size() > 3 ? root + chord.intervals[3] : fifth;
        const int base = inst.velocity + section.dynamics;
        const std::uint32_t eighth = kTicksPerQuarter / 2;
        if (section.accompaniment == "arp") {
            // Broken chord in eighths, each note left to ring into the next.
            const int pattern[] = {root, fifth, third, top};
            for (std::uint32_t t = 0; t < chord.length; t += eighth) {
                const auto step = ((at + t) % m_score.barTicks()) / eighth % 4;
                track.note(at + t, inst.channel, pattern[step], clampVelocity(base + (step == 0 ? 6 : 0)),
                           std::min(2 * eighth, chord.length - t));
            }
        } else if (section.accompaniment == "pulse") {
            // Chords on the off-beats; the bass takes the strong beats.
            for (std::uint32_t t = 0; t < chord.length; t += m_score.beatTicks()) {
                if (((at + t) % m_score.barTicks()) / m_score.beatTicks() % 2 == 0)
                    continue;
                for (int key : {fifth, third, root + 12})
                    track.note(at + t, inst.channel, key, clampVelocity(base - 4),
                               m_score.beatTicks() * 3 / 4);
            }
        } else if (section.accompaniment == "hold") {
            for (int key : {root, fifth, third})
                track.note(at, inst.channel, key, clampVelocity(base - 6), chord.length);
        } else if (section.accompaniment != "none") {
            fail(section.where, "accompaniment is arp, pulse, hold or none");
        }
    }

    void playBass(MidiTrack& track, const Instrument& inst, const Section& section, const Chord& chord,
                  std::uint32_t at) const {
        const int root = place(chord.root, 36); // C2..B2
        const int fifth =
            root + chord.intervals[2] > 47 ? root + chord.intervals[2] - 12 : root + chord.intervals[2];
        const int base = inst.velocity + section.dynamics;
        if (section.bass == "halves") {
            // Root, then fifth, on each half bar the chord lasts.
            const std::uint32_t half = m_score.barTicks() / 2;
            bool onRoot = true;
            for (std::uint32_t t = 0; t < chord.length; t += half, onRoot = !onRoot) {
                const std::uint32_t length = std::min(half, chord.length - t);
                track.note(at + t, inst.channel, onRoot ? root : fifth,
                           clampVelocity(base + accent(at + t, m_score)), length * 9 / 10);
            }
        } else if (section.bass == "hold") {
            track.note(at, inst.channel, root, clampVelocity(base), chord.length);
        } else if (section.bass != "none") {
            fail(section.where, "bass is halves, hold or none");
        }
    }

    void playDrums(MidiTrack& track, const Instrument& inst, const Section& section, std::uint32_t at) const {
        constexpr int kKick = 36, kSideStick = 37, kMaracas = 70, kTriangle = 81;
        const std::uint32_t eighth = kTicksPerQuarter / 2;
        const std::uint32_t beat = m_score.beatTicks();
        const bool soft = section.drums == "soft";
        if (!soft && section.drums != "light" && section.drums != "none")
            fail(section.where, "drums are soft, light or none");
        if (section.drums == "none")
            return;
        // Percussion velocities are written for a velocity setting of 100.
        const auto hit = [&](std::uint32_t t, int key, int velocity) {
            track.note(t, inst.channel, key,
                       clampVelocity((velocity + section.dynamics) * inst.velocity / 100), eighth / 2);
        };
        if (soft)
            hit(at, kTriangle, 40);
        for (std::uint32_t t = 0; t < section.length; t += eighth) {
            const std::uint32_t inBar = t % m_score.barTicks();
            hit(at + t, kMaracas, inBar % beat == 0 ? 26 : 18);
            if (inBar == 0)
                hit(at + t, kKick, 52);
            else if (soft && inBar % beat == 0) {
                const auto beatNo = inBar / beat;
                if (beatNo % 2 == 1)
                    hit(at + t, kSideStick, 34);
                else
                    hit(at + t, kKick, 42);
            }
        }
    }

    const ParsedScore& m_score;
};

} // namespace

std::vector<std::uint8_t> renderScore(std::string_view text, const std::string& sourceName) {
    const ParsedScore score = parse(text, sourceName);
    return Arranger(score).arrange();
}

} // namespace tintaro::soundgen
