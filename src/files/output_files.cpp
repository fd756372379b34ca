// output_files.cpp -- opening the files a run writes (recordings, pictures) without harming what it reads
#include "files.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "open_flags.h"

const char *const GAME_INPUT_FILES[] = {"data.dat", "guy.dat", "monster.dat", "map.map",
                                        "obj.map",  "mob.map", "patches.dat", nullptr};

// Whether `st` is the file `name` names, through any link (on Windows,
// which has no inode numbers, whether the two full paths are one).
static bool same_file(const struct stat &st, const char *file, const char *name) {
#ifdef _WIN32
    (void)st;
    char full_file[1024], full_name[1024];
    return _fullpath(full_file, file, sizeof full_file) && _fullpath(full_name, name, sizeof full_name) &&
           _stricmp(full_file, full_name) == 0;
#else
    (void)file;
    struct stat other;
    return stat(name, &other) == 0 && other.st_dev == st.st_dev && other.st_ino == st.st_ino;
#endif
}

// The input, of the game's own or `also_input`, that `file` (whose stat is
// `st`) is, or null.
static const char *input_it_is(const struct stat &st, const char *file, const char *also_input) {
    for (int i = 0; GAME_INPUT_FILES[i]; i++)
        if (same_file(st, file, GAME_INPUT_FILES[i]))
            return GAME_INPUT_FILES[i];
    return also_input && same_file(st, file, also_input) ? also_input : nullptr;
}

// Refuses what `st` shows to be no place for output; true when it may be written.
static bool writable_kind(const struct stat &st, const char *file, const char *also_input, char *why,
                          int why_size) {
    if (!S_ISREG(st.st_mode)) {
        snprintf(why, why_size, "%s", S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file");
#ifdef S_ISFIFO
        if (S_ISFIFO(st.st_mode))
            snprintf(why, why_size, "is a named pipe, not a file");
#endif
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
            snprintf(why, why_size, "is a device, not a file");
        return false;
    }
    if (const char *input = input_it_is(st, file, also_input)) {
        snprintf(why, why_size, "is %s, which the game reads: write to another name", input);
        return false;
    }
    return true;
}

bool output_file_allowed(const char *file, const char *also_input, char *why, int why_size) {
    why[0] = 0;
    struct stat st;
    if (stat(file, &st) != 0)
        return true; // a new file (or a link to one): nothing there to harm
    return writable_kind(st, file, also_input, why, why_size);
}

int open_output_file(const char *file, const char *also_input, char *why, int why_size) {
    if (!output_file_allowed(file, also_input, why, why_size))
        return -1;
    // Without O_TRUNC, and never blocking: what was opened is checked again
    // (it may have been swapped meanwhile) before anything in it is cut.
    int fd = open(file, O_WRONLY | O_CREAT | O_BINARY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        snprintf(why, why_size, "cannot be written (%s)", strerror(errno));
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !writable_kind(st, file, also_input, why, why_size) || ftruncate(fd, 0) != 0) {
        if (!why[0])
            snprintf(why, why_size, "cannot be written (%s)", strerror(errno));
        close(fd);
        return -1;
    }
#ifdef F_GETFL
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
#endif
    return fd;
}

// --- A PACKFILE that collects what the library writes ----------------------

namespace {

int vec_fclose(void *) { return 0; }
int vec_getc(void *) { return EOF; }
int vec_ungetc(int, void *) { return EOF; }
long vec_fread(void *, long, void *) { return 0; }
int vec_putc(int c, void *v) {
    ((std::vector<unsigned char> *)v)->push_back((unsigned char)c);
    return c;
}
long vec_fwrite(const void *p, long n, void *v) {
    const unsigned char *bytes = (const unsigned char *)p;
    ((std::vector<unsigned char> *)v)->insert(((std::vector<unsigned char> *)v)->end(), bytes, bytes + n);
    return n;
}
int vec_fseek(void *, int) { return -1; }
int vec_feof(void *) { return 0; }
int vec_ferror(void *) { return 0; }

const PACKFILE_VTABLE collecting_vtable = {vec_fclose, vec_getc,  vec_ungetc, vec_fread, vec_putc,
                                           vec_fwrite, vec_fseek, vec_feof,   vec_ferror};

} // namespace

PACKFILE *open_collecting_packfile(std::vector<unsigned char> &out) {
    return pack_fopen_vtable(&collecting_vtable, &out);
}
