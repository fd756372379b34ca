// pack.cpp -- lamplight-pack: builds the Allegro datafiles from the source art listed in a manifest
//
// usage: lamplight-pack MANIFEST ASSETS_DIR OUT_DIR
// The manifest lists, datafile by datafile, one entry after another; see
// assets/manifest.txt for its commands.
#include "font_text.h"
#include <allegro.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// One object of a datafile, ready to write.
struct PackedObject {
    int type;
    std::string name;                  // its NAME property
    std::vector<unsigned char> data;   // the payload
};

// One datafile being built.
struct PackedFile {
    std::string name;
    std::vector<PackedObject> objects;
};

static std::string assets_dir;   // where the source files named by the manifest live
static std::string where;        // "manifest.txt:12", for messages

[[noreturn]] static void fail(const std::string &why) {
    fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    exit(1);
}

static void put_be(std::vector<unsigned char> &out, long value, int bytes) {
    for (int i = bytes - 1; i >= 0; i--)
        out.push_back((value >> (8 * i)) & 0xFF);
}

// Name of an entry made from a source file: "tiles.pcx" -> "TILES".
static std::string stem_name(const std::string &file) {
    std::string name;
    for (char c : file.substr(0, file.find('.')))
        name += (char)toupper((unsigned char)c);
    return name;
}

static BITMAP *load_picture(const std::string &file, RGB *pal) {
    BITMAP *bmp = load_pcx((assets_dir + "/" + file).c_str(), pal);
    if (!bmp)
        fail("cannot read the picture " + file);
    if (bitmap_color_depth(bmp) != 8)
        fail(file + " is not an 8-bit picture");
    return bmp;
}

static PackedObject bitmap_object(BITMAP *src, int x, int y, int w, int h, const std::string &name) {
    if (x < 0 || y < 0 || w < 1 || h < 1 || x + w > src->w || y + h > src->h)
        fail("the part " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x" +
             std::to_string(h) + " lies outside the picture");
    PackedObject obj{DAT_BITMAP, name, {}};
    put_be(obj.data, 8, 2);
    put_be(obj.data, w, 2);
    put_be(obj.data, h, 2);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            obj.data.push_back(getpixel(src, x + i, y + j));
    return obj;
}

static void add_bitmap(PackedFile &out, std::istringstream &args) {
    std::string file;
    args >> file;
    PALETTE pal;
    BITMAP *src = load_picture(file, pal);
    int x = 0, y = 0, w = src->w, h = src->h;
    if (args >> x && !(args >> y >> w >> h))
        fail("bitmap takes a file and optionally X Y W H");
    out.objects.push_back(bitmap_object(src, x, y, w, h, stem_name(file)));
    destroy_bitmap(src);
}

static void add_cells(PackedFile &out, std::istringstream &args) {
    std::string file;
    int w = 0, h = 0, count = 0;
    if (!(args >> file >> w >> h >> count) || w < 1 || h < 1 || count < 1)
        fail("cells takes a file, a cell width and height and a count");
    PALETTE pal;
    BITMAP *src = load_picture(file, pal);
    int across = src->w / w;
    if (across < 1)
        fail(file + " is narrower than one cell");
    for (int i = 0; i < count; i++) {
        char suffix[16];
        snprintf(suffix, sizeof suffix, "_%03d", i);
        out.objects.push_back(bitmap_object(src, (i % across) * w, (i / across) * h, w, h, stem_name(file) + suffix));
    }
    destroy_bitmap(src);
}

// A mono font with one range, as load_datafile reads it.
static void add_font(PackedFile &out, const std::string &file) {
    TextFont font;
    std::string error;
    if (!read_text_font(assets_dir + "/" + file, font, error))
        fail(error);
    PackedObject obj{DAT_FONT, stem_name(file), {}};
    put_be(obj.data, 0, 2);                       // the current font format
    put_be(obj.data, 1, 2);                       // one range
    obj.data.push_back(1);                        // mono
    put_be(obj.data, font.glyphs.front().code, 4);
    put_be(obj.data, font.glyphs.back().code, 4);
    for (const TextGlyph &g : font.glyphs) {
        int w = (int)g.rows[0].size() + 1;        // one blank column between glyphs
        put_be(obj.data, w, 2);
        put_be(obj.data, font.height, 2);
        for (const std::string &row : g.rows)
            for (int byte = 0; byte < (w + 7) / 8; byte++) {
                int bits = 0;
                for (int bit = 0; bit < 8; bit++) {
                    int i = byte * 8 + bit;
                    if (i < (int)row.size() && row[i] == '#')
                        bits |= 0x80 >> bit;
                }
                obj.data.push_back(bits);
            }
    }
    out.objects.push_back(obj);
}

static void add_midi(PackedFile &out, const std::string &file) {
    MIDI *midi = load_midi((assets_dir + "/" + file).c_str());
    if (!midi)
        fail("cannot read the MIDI file " + file);
    PackedObject obj{DAT_MIDI, stem_name(file), {}};
    put_be(obj.data, midi->divisions, 2);
    for (int t = 0; t < MIDI_TRACKS; t++) {
        put_be(obj.data, midi->track[t].len, 4);
        obj.data.insert(obj.data.end(), midi->track[t].data, midi->track[t].data + midi->track[t].len);
    }
    destroy_midi(midi);
    out.objects.push_back(obj);
}

static void add_sample(PackedFile &out, const std::string &file) {
    SAMPLE *s = load_sample((assets_dir + "/" + file).c_str());
    if (!s)
        fail("cannot read the sample " + file);
    if (s->bits != 8 || s->stereo || s->freq > 65535)
        fail(file + " must be 8-bit mono at most 65535 Hz");
    PackedObject obj{DAT_SAMPLE, stem_name(file), {}};
    put_be(obj.data, 8, 2);
    put_be(obj.data, s->freq, 2);
    put_be(obj.data, s->len, 4);
    const unsigned char *data = (const unsigned char *)s->data;
    obj.data.insert(obj.data.end(), data, data + s->len);
    destroy_sample(s);
    out.objects.push_back(obj);
}

static void add_palette(PackedFile &out, const std::string &file) {
    PALETTE pal;
    destroy_bitmap(load_picture(file, pal));
    PackedObject obj{DAT_PALETTE, stem_name(file), {}};
    for (int i = 0; i < PAL_SIZE; i++)
        obj.data.insert(obj.data.end(), {pal[i].r, pal[i].g, pal[i].b, 0});
    out.objects.push_back(obj);
}

static void add_data(PackedFile &out, const std::string &text) {
    out.objects.push_back({DAT_DATA, "DATA", std::vector<unsigned char>(text.begin(), text.end())});
}

// Writes one datafile: uncompressed magic, then the objects, each with its name.
static void write_datafile(const PackedFile &file, const std::string &out_dir) {
    std::string path = out_dir + "/" + file.name, partial = path + ".part";
    PACKFILE *f = pack_fopen(partial.c_str(), F_WRITE_NOPACK);
    if (!f)
        fail("cannot write " + partial);
    pack_mputl(DAT_MAGIC, f);
    pack_mputl((long)file.objects.size(), f);
    for (const PackedObject &obj : file.objects) {
        pack_mputl(DAT_PROPERTY, f);
        pack_mputl(DAT_NAME, f);
        pack_mputl((long)obj.name.size(), f);
        pack_fwrite(obj.name.data(), (long)obj.name.size(), f);
        pack_mputl(obj.type, f);
        pack_mputl((long)obj.data.size(), f);
        pack_mputl((long)obj.data.size(), f);
        pack_fwrite(obj.data.data(), (long)obj.data.size(), f);
    }
    bool failed = pack_ferror(f);
    pack_fclose(f);
    // the finished file replaces the old one in one step: a failed run leaves no half file
    if (failed || rename(partial.c_str(), path.c_str()) != 0) {
        remove(partial.c_str());
        fail("cannot write " + path);
    }
    printf("%s: %d entries\n", path.c_str(), (int)file.objects.size());
}

// Runs one manifest line against the datafile being built.
static void run_command(std::vector<PackedFile> &files, const std::string &line) {
    std::istringstream args(line);
    std::string command, word;
    args >> command;
    if (command == "datafile") {
        args >> word;
        files.push_back({word, {}});
        return;
    }
    if (files.empty())
        fail("an entry before the first \"datafile\"");
    PackedFile &out = files.back();
    if (command == "at") {
        int index = -1;
        args >> index;
        if (index != (int)out.objects.size())
            fail("the next entry of " + out.name + " is " + std::to_string(out.objects.size()) +
                 ", not " + std::to_string(index));
    } else if (command == "bitmap") {
        add_bitmap(out, args);
    } else if (command == "cells") {
        add_cells(out, args);
    } else if (command == "data") {
        std::getline(args >> std::ws, word);
        word.erase(word.find_last_not_of(" \t\r") + 1);
        add_data(out, word);
    } else if (args >> word) {
        if (command == "font") add_font(out, word);
        else if (command == "midi") add_midi(out, word);
        else if (command == "sample") add_sample(out, word);
        else if (command == "palette") add_palette(out, word);
        else fail("unknown command \"" + command + "\"");
    } else {
        fail("\"" + command + "\" needs a file name");
    }
}

int main(int argc, char **argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s MANIFEST ASSETS_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "cannot start Allegro\n");
        return 1;
    }
    set_color_depth(8); // keep 8-bit pictures as they are
    assets_dir = argv[2];
    std::ifstream manifest(argv[1]);
    if (!manifest) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<PackedFile> files;
    std::string line;
    for (int number = 1; std::getline(manifest, line); number++) {
        where = std::string(argv[1]) + ":" + std::to_string(number);
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            run_command(files, line);
    }
    for (const PackedFile &file : files)
        write_datafile(file, argv[3]);
    return 0;
}
