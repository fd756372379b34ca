// datafile_edit.cpp -- makes damaged copies of a datafile for the bad-input tests:
//   datafile_edit IN OUT keep N          only the first N objects
//   datafile_edit IN OUT retype I TYPE   object I gets the type TYPE ("DATA", "BMP ", ...)
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static std::vector<unsigned char> read_unpacked(const char *file) {
    std::vector<unsigned char> out;
    PACKFILE *f = pack_fopen(file, F_READ_PACKED);
    if (!f)
        return out;
    int c;
    while ((c = pack_getc(f)) != EOF)
        out.push_back((unsigned char)c);
    pack_fclose(f);
    return out;
}

static long get32(const std::vector<unsigned char> &b, size_t at) {
    return (long)((unsigned long)b[at] << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]);
}

// Byte ranges [start, end) of the top-level objects (properties included),
// and where each object's type field lies.
struct ObjectSpan { size_t start, type_at, end; };

static std::vector<ObjectSpan> spans(const std::vector<unsigned char> &b) {
    std::vector<ObjectSpan> out;
    long count = get32(b, 4);
    size_t at = 8;
    for (long i = 0; i < count && at + 12 <= b.size(); i++) {
        ObjectSpan s{at, 0, 0};
        while (at + 12 <= b.size() && memcmp(&b[at], "prop", 4) == 0)
            at += 12 + get32(b, at + 8);
        s.type_at = at;
        at += 12 + get32(b, at + 4);
        s.end = at;
        out.push_back(s);
    }
    return out;
}

static int usage() {
    fprintf(stderr, "usage: datafile_edit IN OUT keep N | retype INDEX TYPE\n");
    return 2;
}

int main(int argc, char **argv) {
    bool keep_form = argc == 5 && !strcmp(argv[3], "keep");
    bool retype_form = argc == 6 && !strcmp(argv[3], "retype") && strlen(argv[5]) == 4;
    if (!keep_form && !retype_form)
        return usage();
    install_allegro(SYSTEM_NONE, &errno, atexit);
    std::vector<unsigned char> b = read_unpacked(argv[1]);
    if (b.size() < 8 || get32(b, 0) != DAT_MAGIC) {
        fprintf(stderr, "%s: not a datafile\n", argv[1]);
        return 1;
    }
    std::vector<ObjectSpan> objects = spans(b);
    size_t keep = keep_form ? (size_t)atoi(argv[4]) : objects.size();
    if (keep > objects.size())
        keep = objects.size();
    if (retype_form) {
        size_t index = (size_t)atoi(argv[4]);
        if (index >= objects.size())
            return usage();
        memcpy(&b[objects[index].type_at], argv[5], 4);
    }
    PACKFILE *out = pack_fopen(argv[2], F_WRITE_NOPACK);
    if (!out)
        return 1;
    pack_mputl(DAT_MAGIC, out);
    pack_mputl((long)keep, out);
    for (size_t i = 0; i < keep; i++)
        pack_fwrite(&b[objects[i].start], (long)(objects[i].end - objects[i].start), out);
    pack_fclose(out);
    return 0;
}
