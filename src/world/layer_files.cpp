// layer_files.cpp -- loading, checking and saving the 8-bit PCX layer files
#include "layers.h"
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

static const char *const layer_files[] = {"map.map", "obj.map", "mob.map"};

const char *layer_file_name(int layer) {
    return (layer >= 0 && layer <= 2) ? layer_files[layer] : nullptr;
}

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
    if (end < 0 || end > size - 769) {
        snprintf(why, why_size, "truncated: the image data ends before the last row");
        return false;
    }
    if (bytes[size - 769] != 12) {
        snprintf(why, why_size, "truncated or damaged: no palette after the image data");
        return false;
    }
    return true;
}

// Reads a whole file into `out`; false with the reason when it cannot.
static bool read_file(const char *file, std::vector<unsigned char> &out, char *why, int why_size) {
    FILE *f = fopen(file, "rb");
    if (!f) {
        snprintf(why, why_size, "cannot be opened (%s)", strerror(errno));
        return false;
    }
    unsigned char chunk[65536];
    size_t n;
    // A layer of MAX_LAYER_SIDE squared with worst-case RLE stays below this.
    const size_t limit = (size_t)MAX_LAYER_SIDE * MAX_LAYER_SIDE * 2 + 4096;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        out.insert(out.end(), chunk, chunk + n);
        if (out.size() > limit) {
            fclose(f);
            snprintf(why, why_size, "too large to be a layer file");
            return false;
        }
    }
    bool failed = ferror(f);
    fclose(f);
    if (failed)
        snprintf(why, why_size, "cannot be read (%s)", strerror(errno));
    return !failed;
}

BITMAP *load_layer(const char *file, RGB *pal) {
    std::vector<unsigned char> bytes;
    layer_error[0] = 0;
    if (!read_file(file, bytes, layer_error, sizeof layer_error))
        return nullptr;
    if (!check_pcx_bytes(bytes.data(), (long)bytes.size(), layer_error, sizeof layer_error))
        return nullptr;
    BITMAP *bmp = load_pcx(file, pal);
    if (!bmp || bitmap_color_depth(bmp) != 8) {
        if (bmp)
            destroy_bitmap(bmp);
        snprintf(layer_error, sizeof layer_error, "cannot be read as an 8-bit PCX image");
        return nullptr;
    }
    return bmp;
}

// Flushes a written file to disk.
static bool sync_file(const char *file) {
    int fd = open(file, O_RDONLY);
    if (fd < 0)
        return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// The mode a saved file gets: that of the file it replaces, or what a plain
// new file would get (mkstemp alone would make it private to its owner).
static mode_t mode_for(const char *file) {
    struct stat st;
    if (stat(file, &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

int write_layer_file(const char *file, BITMAP *bmp, const RGB *pal) {
    std::string temp = std::string(file) + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back(0);
    int fd = mkstemp(name.data());
    const char *reason = nullptr;
    if (fd < 0) {
        reason = strerror(errno);
    } else {
        fchmod(fd, mode_for(file));
        close(fd);
        if (!bmp || save_pcx(name.data(), bmp, pal) != 0)
            reason = "the image could not be written";
        else if (!sync_file(name.data()))
            reason = "the image could not be flushed to disk";
        else if (rename(name.data(), file) != 0)
            reason = strerror(errno);
        if (reason)
            unlink(name.data());
    }
    if (reason) {
        fprintf(stderr, "%s: not saved (%s); the old file is kept\n", file, reason);
        return -1;
    }
    return 0;
}

void save_layer(int layer) {
    if (layer == 0)
        write_layer_file(layer_files[0], terrain_layer, palette);
    else if (layer == 1)
        write_layer_file(layer_files[1], object_layer, palette);
    else if (layer == 2)
        write_layer_file(layer_files[2], monster_layer, palette);
}
