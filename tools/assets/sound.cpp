// sound.cpp -- the synthesised sound effects (WAV) and the composed tune (a standard MIDI file)
#include "art.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <algorithm>

static const int RATE = 22050; // samples per second of every effect

// ---- WAV: 8-bit unsigned mono ----

static void put_le(std::vector<unsigned char> &out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; i++)
        out.push_back((value >> (8 * i)) & 0xFF);
}

static void write_file(const std::string &path, const std::vector<unsigned char> &bytes) {
    FILE *f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        exit(1);
    }
    fclose(f);
}

// Writes samples in -1..1 as an 8-bit mono WAV file.
static void write_wav(const std::string &path, const std::vector<double> &wave) {
    std::vector<unsigned char> out;
    unsigned n = (unsigned)wave.size();
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put_le(out, 36 + n, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_le(out, 16, 4);   // fmt chunk size
    put_le(out, 1, 2);    // PCM
    put_le(out, 1, 2);    // mono
    put_le(out, RATE, 4);
    put_le(out, RATE, 4); // bytes per second
    put_le(out, 1, 2);    // block align
    put_le(out, 8, 2);    // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put_le(out, n, 4);
    for (double v : wave) {
        v = std::max(-1.0, std::min(1.0, v));
        out.push_back((unsigned char)lround(128 + v * 127));
    }
    write_file(path, out);
}

static double noise() {
    return random_below(2001) / 1000.0 - 1.0;
}

// A shot: a square wave sweeping down, quickly gone.
static std::vector<double> shot_sound() {
    std::vector<double> w(RATE * 12 / 100);
    double phase = 0;
    for (size_t i = 0; i < w.size(); i++) {
        double t = (double)i / w.size();
        phase += (1200 - 800 * t) / RATE;
        w[i] = (fmod(phase, 1.0) < 0.5 ? 0.5 : -0.5) * (1 - t);
    }
    return w;
}

// A thud: a low falling tone with a click of noise.
static std::vector<double> thud_sound() {
    std::vector<double> w(RATE * 15 / 100);
    double phase = 0;
    for (size_t i = 0; i < w.size(); i++) {
        double t = (double)i / w.size();
        phase += (90 - 40 * t) / RATE;
        w[i] = sin(2 * M_PI * phase) * exp(-5 * t) * 0.9 + (i < 200 ? noise() * 0.4 : 0);
    }
    return w;
}

// A pickup: two bright bell-like notes, B5 then E6.
static std::vector<double> pickup_sound() {
    std::vector<double> w(RATE * 30 / 100, 0.0);
    struct { double freq, start, length; } notes[2] = {{987.8, 0.0, 0.09}, {1318.5, 0.07, 0.23}};
    for (auto &n : notes) {
        int first = (int)(n.start * RATE), count = (int)(n.length * RATE);
        for (int i = 0; i < count && first + i < (int)w.size(); i++) {
            double t = (double)i / RATE;
            double env = std::min(1.0, t * 400) * exp(-t * 14);
            double tone = sin(2 * M_PI * n.freq * t) + 0.35 * sin(4 * M_PI * n.freq * t) + 0.15 * sin(6 * M_PI * n.freq * t);
            w[first + i] += 0.55 * env * tone;
        }
    }
    return w;
}

// An explosion: noise through a closing low-pass filter, a rumble and some crackle.
static std::vector<double> explosion_sound() {
    std::vector<double> w(RATE * 110 / 100);
    double low = 0, lower = 0;
    for (size_t i = 0; i < w.size(); i++) {
        double t = (double)i / RATE;
        double cutoff = 0.5 * exp(-t * 3) + 0.03;
        low += cutoff * (noise() - low);
        lower += 0.5 * cutoff * (low - lower);
        double env = std::min(1.0, t * 300) * exp(-t * 3.2);
        double rumble = sin(2 * M_PI * (55 - 20 * t) * t) * exp(-t * 2.5) * 0.35;
        double crackle = (random_below(1000) < 6 && t < 0.6) ? noise() * 0.6 * (1 - t) : 0;
        w[i] = (lower * 2.6 + rumble) * env + crackle;
    }
    return w;
}

void make_sounds(const std::string &dir) {
    seed_random(2026);
    write_wav(dir + "/shot.wav", shot_sound());
    write_wav(dir + "/thud.wav", thud_sound());
    write_wav(dir + "/pickup.wav", pickup_sound());
    write_wav(dir + "/explosion.wav", explosion_sound());
}

// ---- the tune: 16 bars of 4/4 in A minor, 96 ticks a quarter, looping on bar 1 ----

static const int QUARTER = 96;
static const int EIGHTH = QUARTER / 2;
static const int BAR = 4 * QUARTER;
static const int BARS = 16;

struct Event {
    int tick;
    std::vector<unsigned char> bytes;
};

static void add_note(std::vector<Event> &track, int channel, int note, int start, int length, int velocity) {
    track.push_back({start, {(unsigned char)(0x90 | channel), (unsigned char)note, (unsigned char)velocity}});
    // released a little early, so that repeated notes are heard apart
    track.push_back({start + length - 4, {(unsigned char)(0x80 | channel), (unsigned char)note, 0}});
}

static void put_varlen(std::vector<unsigned char> &out, unsigned value) {
    unsigned char bytes[5];
    int n = 0;
    do {
        bytes[n++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (n > 1)
        out.push_back(bytes[--n] | 0x80);
    out.push_back(bytes[0]);
}

// A track chunk; every track ends exactly at the loop point, so the tune
// lasts whole bars and starts again on the beat.
static std::vector<unsigned char> track_chunk(std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        return (a.bytes[0] & 0xF0) == 0x80 && (b.bytes[0] & 0xF0) != 0x80; // note-offs first
    });
    std::vector<unsigned char> body;
    int now = 0;
    for (auto &e : events) {
        put_varlen(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    put_varlen(body, BARS * BAR - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<unsigned char> chunk = {'M', 'T', 'r', 'k'};
    for (int i = 3; i >= 0; i--)
        chunk.push_back((body.size() >> (8 * i)) & 0xFF);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

// The chords, one a bar: pitch class of the root, and the kind.
enum ChordKind { MINOR, MAJOR, SEVENTH };
static const struct { int root; ChordKind kind; } chords[BARS] = {
    {9, MINOR}, {5, MAJOR}, {0, MAJOR}, {7, MAJOR}, {9, MINOR}, {5, MAJOR}, {2, MINOR}, {4, MAJOR},
    {9, MINOR}, {5, MAJOR}, {0, MAJOR}, {7, MAJOR}, {5, MAJOR}, {2, MINOR}, {4, MAJOR}, {4, SEVENTH},
};

// The melody: note names with lengths in eighths ("r" rests); each bar adds up to 8.
static const char *const melody[BARS] = {
    "E5:2 A4:1 B4:1 C5:2 E5:2", "F5:3 E5:1 C5:4", "E5:2 G5:2 E5:1 D5:1 C5:2", "D5:4 B4:2 G4:2",
    "A4:2 C5:1 E5:1 A5:2 G5:1 E5:1", "F5:2 A5:2 G5:1 F5:1 E5:2", "D5:2 F5:2 A5:2 F5:2", "E5:4 B4:2 G#4:2",
    "A4:4 C5:2 E5:2", "F5:3 G5:1 A5:4", "G5:2 E5:2 C5:2 E5:2", "D5:4 G5:4",
    "A5:2 G5:1 F5:1 E5:2 C5:2", "D5:2 E5:1 F5:1 A5:2 F5:2", "E5:2 D5:1 C5:1 B4:2 G#4:2", "B4:6 r:2",
};

// MIDI note number of a name like "G#4" (C4 = 60).
static int note_number(const std::string &name) {
    static const int letter[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    int pc = letter[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') {
        pc++;
        i++;
    }
    return 12 * (atoi(name.c_str() + i) + 1) + pc;
}

static std::vector<Event> melody_track() {
    std::vector<Event> t = {{0, {0xC0, 73}}, {0, {0xB0, 7, 100}}}; // flute
    for (int bar = 0; bar < BARS; bar++) {
        int tick = bar * BAR, eighths = 0;
        char text[128];
        snprintf(text, sizeof text, "%s", melody[bar]);
        for (char *tok = strtok(text, " "); tok; tok = strtok(nullptr, " ")) {
            char *colon = strchr(tok, ':');
            *colon = 0;
            int length = atoi(colon + 1);
            if (tok[0] != 'r')
                add_note(t, 0, note_number(tok), tick, length * EIGHTH, 92);
            tick += length * EIGHTH;
            eighths += length;
        }
        if (eighths != 8) {
            fprintf(stderr, "melody bar %d has %d eighths\n", bar + 1, eighths);
            exit(1);
        }
    }
    return t;
}

// The chord's root in the octave below middle C, and its third.
static int chord_root(int bar) {
    int r = 48 + chords[bar].root;
    return r > 55 ? r - 12 : r;
}
static int chord_third(int bar) {
    return chords[bar].kind == MINOR ? 3 : 4;
}

static std::vector<Event> harp_track() {
    std::vector<Event> t = {{0, {0xC1, 46}}, {0, {0xB1, 7, 80}}}; // orchestral harp
    static const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 1};
    for (int bar = 0; bar < BARS; bar++) {
        int r = chord_root(bar);
        int top = chords[bar].kind == SEVENTH ? r + 10 : r + 12;
        int notes[4] = {r, r + 7, top, r + 12 + chord_third(bar)};
        for (int i = 0; i < 8; i++)
            add_note(t, 1, notes[pattern[i]], bar * BAR + i * EIGHTH, EIGHTH, i == 0 ? 72 : 58);
    }
    return t;
}

static std::vector<Event> bass_track() {
    std::vector<Event> t = {{0, {0xC2, 32}}, {0, {0xB2, 7, 100}}}; // acoustic bass
    for (int bar = 0; bar < BARS; bar++) {
        int r = chord_root(bar) - 12;
        add_note(t, 2, r, bar * BAR, 2 * QUARTER, 88);
        add_note(t, 2, r + 7, bar * BAR + 2 * QUARTER, 2 * QUARTER, 76);
    }
    return t;
}

static std::vector<Event> pad_track() {
    std::vector<Event> t = {{0, {0xC3, 48}}, {0, {0xB3, 7, 70}}}; // strings
    for (int bar = 0; bar < BARS; bar++) {
        int r = chord_root(bar) + 12;
        for (int n : {r, r + chord_third(bar), r + 7})
            add_note(t, 3, n, bar * BAR, BAR, 44);
    }
    return t;
}

void make_tune(const std::string &dir) {
    std::vector<Event> conductor = {
        {0, {0xFF, 0x03, 9, 'l', 'a', 'm', 'p', 'l', 'i', 'g', 'h', 't'}},
        {0, {0xFF, 0x58, 4, 4, 2, 24, 8}},                  // 4/4
        {0, {0xFF, 0x51, 3, 0x09, 0x89, 0x68}},             // 625000 us a quarter: 96 a minute
    };
    std::vector<std::vector<Event>> tracks = {conductor, melody_track(), harp_track(), bass_track(), pad_track()};
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, (unsigned char)tracks.size(),
                                       0, (unsigned char)QUARTER};
    for (auto &t : tracks) {
        std::vector<unsigned char> chunk = track_chunk(t);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    write_file(dir + "/tune.mid", file);
}
