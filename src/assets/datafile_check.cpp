// datafile_check.cpp -- walks a datafile's structure before Allegro loads it
//
// Allegro's load_datafile trusts every size in the file: a truncated or
// damaged datafile makes it read past its buffers and crash. So the file is
// read once here (through the packfile layer, which undoes the compression)
// and every object is checked to fit inside its parent, and the contents of
// the types the game uses to fit inside their object.
#include "assets.h"
#include "files.h"
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

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
        if (!check_glyphs(r, last - first + 1, mono))
            return false;
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

// Types whose loaders build graphics-mode objects; when one of them fails,
// Allegro frees the datafile twice. The game uses none of them.
struct RefusedType {
    long type;
    const char *what;
};
const RefusedType refused_types[] = {
    {DAT_RLE_SPRITE, "is an RLE sprite, which this game does not load (store it as a bitmap)"},
    {DAT_C_SPRITE, "is a compiled sprite, which this game does not load (store it as a bitmap)"},
    {DAT_XC_SPRITE, "is a mode-X compiled sprite, which this game does not load (store it as a bitmap)"},
};

const char *refusal(long type) {
    for (const RefusedType &r : refused_types)
        if (r.type == type)
            return r.what;
    return nullptr;
}

// Undoes the LZSS packing of one entry the way Allegro's reader does: a
// 4096-byte ring starting at 4078, a flag byte for every eight items, a set
// bit a literal byte, a clear one a 12-bit position and 4-bit length (+3).
// Stops as soon as `want` bytes are out, as Allegro does; `*used` is then
// how many packed bytes it read. False when the packed bytes end first.
bool unpack_lzss(const unsigned char *in, long in_size, long want, std::vector<unsigned char> &out, long *used) {
    const int N = 4096, F = 18, THRESHOLD = 2;
    unsigned char ring[N] = {};
    int r = N - F;
    unsigned flags = 0;
    long pos = 0;
    out.clear();
    out.reserve(want);
    while ((long)out.size() < want) {
        if (((flags >>= 1) & 256) == 0) {
            if (pos >= in_size)
                return false;
            flags = in[pos++] | 0xFF00;
        }
        if (flags & 1) {
            if (pos >= in_size)
                return false;
            ring[r] = in[pos++];
            out.push_back(ring[r]);
            r = (r + 1) & (N - 1);
            continue;
        }
        if (pos + 2 > in_size)
            return false;
        int from = in[pos] | ((in[pos + 1] & 0xF0) << 4);
        int length = (in[pos + 1] & 0x0F) + THRESHOLD;
        pos += 2;
        for (int k = 0; k <= length && (long)out.size() < want; k++) {
            unsigned char c = ring[(from + k) & (N - 1)];
            ring[r] = c;
            r = (r + 1) & (N - 1);
            out.push_back(c);
        }
    }
    *used = pos;
    return true;
}

// One object: its properties, its header, and its contents by type.
// Returns nullptr when sound, else what is wrong with it.
const char *check_object(Reader &r, int depth) {
    while (r.ok && r.left >= 4 && !memcmp(r.p, "prop", 4)) {
        r.skip(8);
        r.skip(r.get(4));
    }
    long type = r.get(4), stored = r.get(4), size = r.get(4);
    if (!r.ok || stored < 0 || stored > r.left)
        return DOES_NOT_FIT;
    if (!printable_type(type))
        return "has no valid type";
    if (const char *refused = refusal(type))
        return refused;
    // A negative size marks an entry packed on its own: Allegro unpacks it
    // from the bytes that follow until it has -size bytes.
    std::vector<unsigned char> unpacked;
    Reader body{r.p, size, true};
    if (size < 0) {
        long used = 0;
        if (-size > MAX_DATAFILE_BYTES)
            return "unpacks to more than this game loads";
        if (!unpack_lzss(r.p, r.left, -size, unpacked, &used) || used != stored)
            return "has damaged packed data";
        body = Reader{unpacked.data(), -size, true};
    } else if (size != stored) {
        return DOES_NOT_FIT;
    }
    r.skip(stored);
    bool fits = true;
    switch (type) {
    case DAT_BITMAP: fits = check_bitmap(body); break;
    case DAT_SAMPLE: fits = check_sample(body); break;
    case DAT_MIDI: fits = check_midi(body); break;
    case DAT_FONT: fits = check_font(body); break;
    case DAT_PALETTE: fits = body.left >= 768; break;
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

bool refused_entry(const char *wrong) {
    for (const RefusedType &r : refused_types)
        if (r.what == wrong)
            return true;
    return false;
}

} // namespace

bool check_datafile_bytes(const unsigned char *bytes, long size, char *why, int why_size) {
    int bad = -1;
    const char *wrong = size < 8 ? "damaged or truncated datafile" : check_objects(Reader{bytes, size, true}, 0, &bad, true);
    if (!wrong)
        return true;
    if (bad >= 0 && refused_entry(wrong))
        snprintf(why, why_size, "entry %d %s", bad, wrong);
    else if (bad >= 0)
        snprintf(why, why_size, "damaged or truncated datafile (entry %d %s)", bad, wrong);
    else
        snprintf(why, why_size, "%s", wrong);
    return false;
}

bool read_unpacked_datafile(const char *path, std::vector<unsigned char> &bytes, char *why, int why_size,
                            long max_bytes) {
    PACKFILE *f = pack_fopen(path, F_READ_PACKED);
    if (!f) {
        snprintf(why, why_size, "not an Allegro datafile");
        return false;
    }
    unsigned char chunk[16384];
    long n;
    while ((n = pack_fread(chunk, sizeof chunk, f)) > 0 && (long)bytes.size() <= max_bytes)
        bytes.insert(bytes.end(), chunk, chunk + n);
    pack_fclose(f);
    if ((long)bytes.size() > max_bytes) {
        snprintf(why, why_size, "too large to be a datafile of this game (%ld MB at most)", max_bytes >> 20);
        return false;
    }
    return true;
}

// Opens `file` once (a regular file, never a pipe) and checks it; when
// `load` is given, the library then loads that very file into *load.
static bool check_and_load(const char *file, DATAFILE **load, char *why, int why_size) {
    int fd = open_input_file(file, MAX_DATAFILE_BYTES, why, why_size);
    if (fd < 0)
        return false;
    char buf[64];
    const char *same_file = reopen_name(fd, file, buf, sizeof buf);
    std::vector<unsigned char> bytes;
    bool ok = read_unpacked_datafile(same_file, bytes, why, why_size) &&
              check_datafile_bytes(bytes.data(), (long)bytes.size(), why, why_size);
    if (ok && load && !(*load = load_datafile(same_file))) {
        snprintf(why, why_size, "not a readable Allegro datafile");
        ok = false;
    }
    close(fd);
    return ok;
}

bool check_datafile_file(const char *file, char *why, int why_size) {
    return check_and_load(file, nullptr, why, why_size);
}

DATAFILE *load_checked_datafile_file(const char *file, char *why, int why_size) {
    DATAFILE *data = nullptr;
    return check_and_load(file, &data, why, why_size) ? data : nullptr;
}
