// datafile_check.cpp -- walks a datafile's structure before Allegro loads it
//
// Allegro's load_datafile trusts every size in the file: a truncated or
// damaged datafile makes it read past its buffers and crash. So the file is
// read once here (through the packfile layer, which undoes the compression)
// and every object is checked to fit inside its parent, and the contents of
// the types the game uses to fit inside their object.
#include "assets.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr long MAX_DATAFILE_BYTES = 64L << 20;
constexpr int MAX_NESTING = 8;

// A bounded reader over one object's bytes; every read past the end fails.
struct Reader {
    const unsigned char *p;
    long left;
    bool ok;

    long get(int bytes) { // big-endian
        if (!ok || left < bytes) {
            ok = false;
            return 0;
        }
        unsigned long v = 0;
        for (int i = 0; i < bytes; i++)
            v = (v << 8) | *p++;
        left -= bytes;
        if (bytes == 2)
            return (short)v;
        if (bytes == 4)
            return (int)(unsigned int)v;
        return (long)v;
    }
    void skip(long n) {
        if (!ok || n < 0 || left < n) {
            ok = false;
            return;
        }
        p += n;
        left -= n;
    }
};

bool check_bitmap(Reader r) {
    long bits = r.get(2), w = r.get(2), h = r.get(2);
    long bytes_per_pixel = bits == 8 ? 1 : (bits == 15 || bits == 16) ? 2 : bits == 24 ? 3 : (bits == 32 || bits == -32) ? 4 : 0;
    if (!r.ok || !bytes_per_pixel || w < 0 || h < 0)
        return false;
    r.skip(w * h * bytes_per_pixel);
    return r.ok;
}

bool check_sample(Reader r) {
    long bits = r.get(2);
    r.get(2); // frequency
    long length = r.get(4);
    long channels = bits < 0 ? 2 : 1;
    long depth = bits < 0 ? -bits : bits;
    if (!r.ok || (depth != 8 && depth != 16) || length < 0)
        return false;
    r.skip(length * channels * (depth / 8));
    return r.ok;
}

bool check_midi(Reader r) {
    r.get(2); // divisions
    for (int track = 0; track < 32 && r.ok; track++)
        r.skip(r.get(4));
    return r.ok;
}

bool check_glyphs(Reader &r, long count, bool mono) {
    for (long i = 0; i < count && r.ok; i++) {
        long w = r.get(2), h = r.get(2);
        if (w < 0 || h < 0)
            return false;
        r.skip(mono ? (w + 7) / 8 * h : w * h);
    }
    return r.ok;
}

bool check_font(Reader r) {
    long size = r.get(2);
    if (size == 8 || size == 16) {
        r.skip(95 * size);
        return r.ok;
    }
    if (size == -1)
        return check_glyphs(r, 95, false);
    if (size != 0)
        return false;
    long ranges = r.get(2);
    for (long i = 0; i < ranges && r.ok; i++) {
        bool mono = r.get(1) != 0;
        long first = r.get(4), last = r.get(4);
        if (last < first || last - first > 0x10FFFF)
            return false;
        check_glyphs(r, last - first + 1, mono);
    }
    return r.ok;
}

const char *check_objects(Reader r, int depth, int *bad_index, bool top);

// An object type is four printable characters ("BMP ", "SAMP", ...): any
// other value is damage, and Allegro would call a loader that is not there.
bool printable_type(long type) {
    for (int shift = 0; shift < 32; shift += 8) {
        int c = (int)((type >> shift) & 0xff);
        if (c < 0x20 || c > 0x7e)
            return false;
    }
    return true;
}

const char *const DOES_NOT_FIT = "does not fit";

// One object: its properties, its header, and its contents by type.
// Returns nullptr when sound, else what is wrong with it.
const char *check_object(Reader &r, int depth) {
    while (r.ok && r.left >= 4 && !memcmp(r.p, "prop", 4)) {
        r.skip(8);
        r.skip(r.get(4));
    }
    long type = r.get(4), stored = r.get(4), unpacked = r.get(4);
    if (!r.ok || stored < 0 || stored > r.left)
        return DOES_NOT_FIT;
    if (!printable_type(type))
        return "has no valid type";
    if (unpacked < 0)
        return "is compressed on its own; pack the datafile without per-entry compression";
    if (unpacked != stored)
        return DOES_NOT_FIT;
    Reader body{r.p, stored, true};
    r.skip(stored);
    bool fits = true;
    switch (type) {
    case DAT_BITMAP: fits = check_bitmap(body); break;
    case DAT_SAMPLE: fits = check_sample(body); break;
    case DAT_MIDI: fits = check_midi(body); break;
    case DAT_FONT: fits = check_font(body); break;
    case DAT_PALETTE: fits = stored >= 768; break;
    case DAT_FILE:
        if (depth >= MAX_NESTING)
            return "nests datafiles too deeply";
        return check_objects(body, depth + 1, nullptr, false) ? "holds a damaged datafile" : nullptr;
    default: break;
    }
    return fits ? nullptr : DOES_NOT_FIT;
}

// The object list of a datafile; the top level starts with its magic.
const char *check_objects(Reader r, int depth, int *bad_index, bool top) {
    if (top && r.get(4) != DAT_MAGIC)
        return "not an Allegro datafile";
    long count = r.get(4);
    if (!r.ok || count < 0 || count > r.left / 12)
        return "damaged or truncated datafile";
    for (long i = 0; i < count; i++)
        if (const char *wrong = check_object(r, depth)) {
            if (bad_index)
                *bad_index = (int)i;
            return wrong;
        }
    return r.ok ? nullptr : "damaged or truncated datafile";
}

} // namespace

bool check_datafile_bytes(const unsigned char *bytes, long size, char *why, int why_size) {
    int bad = -1;
    const char *wrong = size < 8 ? "damaged or truncated datafile" : check_objects(Reader{bytes, size, true}, 0, &bad, true);
    if (!wrong)
        return true;
    if (bad >= 0)
        snprintf(why, why_size, "damaged or truncated datafile (entry %d %s)", bad, wrong);
    else
        snprintf(why, why_size, "%s", wrong);
    return false;
}

bool check_datafile_file(const char *file, char *why, int why_size) {
    PACKFILE *f = pack_fopen(file, F_READ_PACKED);
    if (!f) {
        snprintf(why, why_size, "not an Allegro datafile");
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[16384];
    long n;
    while ((n = pack_fread(chunk, sizeof chunk, f)) > 0 && (long)bytes.size() <= MAX_DATAFILE_BYTES)
        bytes.insert(bytes.end(), chunk, chunk + n);
    pack_fclose(f);
    if ((long)bytes.size() > MAX_DATAFILE_BYTES) {
        snprintf(why, why_size, "too large to be a datafile of this game");
        return false;
    }
    return check_datafile_bytes(bytes.data(), (long)bytes.size(), why, why_size);
}
