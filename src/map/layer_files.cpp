// layer_files.cpp -- loading, checking and saving the 8-bit PCX layer files
#include "map.h"
#include "files.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

BITMAP *terrain_layer; // terrain codes, one pixel per world tile
BITMAP *object_layer;  // object codes, 0 = none
BITMAP *monster_layer; // monster kinds, 0 = none
PALETTE palette;       // palette of the layer file loaded last
char layer_error[256]; // why the last load_layer failed
FileStamp last_layer_stamp; // the bytes the last successful load or save of a layer file held

const LayerInfo LAYERS[3] = {
    {&terrain_layer, "map.map", 'T'},
    {&object_layer, "obj.map", 'O'},
    {&monster_layer, "mob.map", 'M'},
};

BITMAP **layer_slot(int layer) { return (layer >= 0 && layer <= 2) ? LAYERS[layer].bitmap : nullptr; }

const char *layer_file_name(int layer) { return (layer >= 0 && layer <= 2) ? LAYERS[layer].file : nullptr; }

static int read_le16(const unsigned char *p) { return p[0] | (p[1] << 8); }

// Walks the RLE stream the way Allegro's PCX reader does (a run never
// carries over into the next row) and returns the offset just past the last
// row, or -1 when the stream ends first.
static long rle_end(const unsigned char *bytes, long size, int rows, int row_bytes) {
    long pos = 128;
    for (int row = 0; row < rows; row++) {
        int x = 0;
        while (x < row_bytes) {
            if (pos >= size)
                return -1;
            int count = 1;
            unsigned char c = bytes[pos++];
            if ((c & 0xC0) == 0xC0) {
                count = c & 0x3F;
                if (pos >= size)
                    return -1;
                pos++;
            }
            x += count;
        }
    }
    return pos;
}

// Offset of the palette marker: Allegro's PCX reader takes the first byte 12
// after the image data as the start of the 256-colour palette, so padding
// after the palette is fine, but anything else before it is not.
static long palette_marker(const unsigned char *bytes, long size, long image_end) {
    for (long pos = image_end; pos < size; pos++)
        if (bytes[pos] == 12)
            return pos;
    return -1;
}

bool check_pcx_bytes(const unsigned char *bytes, long size, char *why, int why_size) {
    if (size < 128 + 769) {
        snprintf(why, why_size, "too short to be a PCX image (%ld bytes)", size);
        return false;
    }
    if (bytes[0] != 10 || bytes[2] != 1) {
        snprintf(why, why_size, "not a PCX image");
        return false;
    }
    if (bytes[3] != 8 || bytes[65] != 1) {
        snprintf(why, why_size, "not an 8-bit paletted PCX image (%d bits, %d planes)", bytes[3], bytes[65]);
        return false;
    }
    int width = read_le16(bytes + 8) - read_le16(bytes + 4) + 1;
    int height = read_le16(bytes + 10) - read_le16(bytes + 6) + 1;
    int row_bytes = read_le16(bytes + 66);
    if (width < 1 || height < 1 || width > MAX_LAYER_SIDE || height > MAX_LAYER_SIDE) {
        snprintf(why, why_size, "size %dx%d is outside 1x1 .. %dx%d", width, height, MAX_LAYER_SIDE, MAX_LAYER_SIDE);
        return false;
    }
    if (row_bytes < width) {
        snprintf(why, why_size, "damaged PCX header (%d bytes per row for %d pixels)", row_bytes, width);
        return false;
    }
    long end = rle_end(bytes, size, height, row_bytes);
    if (end < 0) {
        snprintf(why, why_size, "truncated: the image data ends before the last row");
        return false;
    }
    long marker = palette_marker(bytes, size, end);
    if (marker < 0) {
        snprintf(why, why_size, "truncated or damaged: no palette after the image data");
        return false;
    }
    if (size - marker - 1 < 768) {
        snprintf(why, why_size, "truncated: the palette is cut short");
        return false;
    }
    return true;
}

BITMAP *load_layer(const char *file, RGB *pal) {
    std::vector<unsigned char> bytes;
    layer_error[0] = 0;
    if (!read_input_file(file, MAX_LAYER_FILE_BYTES, bytes, layer_error, sizeof layer_error))
        return nullptr;
    if (!check_pcx_bytes(bytes.data(), (long)bytes.size(), layer_error, sizeof layer_error))
        return nullptr;
    // The bytes checked are the bytes loaded: no second open of the file.
    PACKFILE *f = open_memory_packfile(bytes.data(), (long)bytes.size());
    BITMAP *bmp = f ? load_pcx_pf(f, pal) : nullptr;
    if (f)
        pack_fclose(f);
    if (!bmp || bitmap_color_depth(bmp) != 8) {
        if (bmp)
            destroy_bitmap(bmp);
        snprintf(layer_error, sizeof layer_error, "cannot be read as an 8-bit PCX image");
        return nullptr;
    }
    last_layer_stamp = stamp_of_bytes(bytes.data(), (long)bytes.size());
    return bmp;
}

FileStamp stamp_of_bytes(const unsigned char *bytes, long size) {
    unsigned long long hash = 14695981039346656037ull; // 64-bit FNV-1a
    for (long i = 0; i < size; i++)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return {size, hash};
}

FileStamp stamp_of_file(const char *file) {
    std::vector<unsigned char> bytes;
    char why[256];
    if (read_input_file(file, MAX_LAYER_FILE_BYTES, bytes, why, sizeof why))
        return stamp_of_bytes(bytes.data(), (long)bytes.size());
    struct stat st;
    return {stat(file, &st) != 0 && errno == ENOENT ? FILE_ABSENT : FILE_UNREADABLE, 0};
}

bool layer_fits_world(int layer, const BITMAP *bmp, char *why, int why_size) {
    if (bmp->w < MIN_LAYER_W || bmp->h < MIN_LAYER_H) {
        snprintf(why, why_size, "%dx%d tiles is too small for the start view (needs at least %dx%d)", bmp->w,
                 bmp->h, MIN_LAYER_W, MIN_LAYER_H);
        return false;
    }
    for (int other = 0; other < 3; other++) {
        const BITMAP *o = *LAYERS[other].bitmap;
        if (other == layer || !o)
            continue;
        if (o->w != bmp->w || o->h != bmp->h) {
            snprintf(why, why_size, "%dx%d tiles, but %s is %dx%d", bmp->w, bmp->h, LAYERS[other].file, o->w, o->h);
            return false;
        }
    }
    return true;
}

// --- Saving -----------------------------------------------------------------

static void put_le16(std::vector<unsigned char> &out, int v) {
    out.push_back((unsigned char)(v & 0xff));
    out.push_back((unsigned char)((v >> 8) & 0xff));
}

// One row in PCX run-length form: runs of up to 63, and a single byte that
// looks like a run count (0xC0 and up) written as a run of one.
static void encode_row(std::vector<unsigned char> &out, const unsigned char *row, int width) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 63 && row[x + run] == row[x])
            run++;
        if (run > 1 || (row[x] & 0xC0) == 0xC0)
            out.push_back((unsigned char)(0xC0 | run));
        out.push_back(row[x]);
        x += run;
    }
}

void encode_pcx(const BITMAP *bmp, const RGB *pal, std::vector<unsigned char> &out) {
    out.clear();
    out.insert(out.end(), {10, 5, 1, 8});
    put_le16(out, 0);
    put_le16(out, 0);
    put_le16(out, bmp->w - 1);
    put_le16(out, bmp->h - 1);
    put_le16(out, 320);
    put_le16(out, 200);
    for (int c = 0; c < 16; c++)
        out.insert(out.end(), {(unsigned char)_rgb_scale_6[pal[c].r & 63], (unsigned char)_rgb_scale_6[pal[c].g & 63],
                               (unsigned char)_rgb_scale_6[pal[c].b & 63]});
    out.push_back(0); // reserved
    out.push_back(1); // one colour plane
    put_le16(out, bmp->w);
    put_le16(out, 1);
    put_le16(out, bmp->w);
    put_le16(out, bmp->h);
    out.insert(out.end(), 54, 0);
    for (int y = 0; y < bmp->h; y++)
        encode_row(out, bmp->line[y], bmp->w);
    out.push_back(12);
    for (int c = 0; c < 256; c++)
        out.insert(out.end(), {(unsigned char)_rgb_scale_6[pal[c].r & 63], (unsigned char)_rgb_scale_6[pal[c].g & 63],
                               (unsigned char)_rgb_scale_6[pal[c].b & 63]});
}

int write_layer_file(const char *file, BITMAP *bmp, const RGB *pal) {
    char why[512];
    if (!bmp || bitmap_color_depth(bmp) != 8) {
        fprintf(stderr, "%s: not saved (no 8-bit layer in memory); the old file is kept\n", file);
        return -1;
    }
    std::vector<unsigned char> bytes;
    encode_pcx(bmp, pal, bytes);
    if (write_file_atomically(file, bytes.data(), (long)bytes.size(), why, sizeof why) != 0) {
        fprintf(stderr, "%s: not saved: %s\n", file, why);
        return -1;
    }
    last_layer_stamp = stamp_of_bytes(bytes.data(), (long)bytes.size());
    return 0;
}

void save_layer(int layer) {
    if (BITMAP **slot = layer_slot(layer))
        write_layer_file(LAYERS[layer].file, *slot, palette);
}
