// input_files.cpp -- opening input files safely, and packfiles over bytes in memory
#include "files.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "open_flags.h"

// What a file that is not a regular file is, for the one line that refuses it.
static const char *not_a_file(mode_t mode) {
    if (S_ISDIR(mode))
        return "is a folder, not a file";
#ifdef S_ISFIFO
    if (S_ISFIFO(mode))
        return "is a named pipe, not a file";
#endif
#ifdef S_ISSOCK
    if (S_ISSOCK(mode))
        return "is a socket, not a file";
#endif
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a file";
    return S_ISREG(mode) ? nullptr : "is not a regular file";
}

static void say_missing(const char *file, char *why, int why_size) {
#ifdef S_ISLNK
    struct stat link;
    if (lstat(file, &link) == 0 && S_ISLNK(link.st_mode)) {
        snprintf(why, why_size, "is a symbolic link to a file that does not exist");
        return;
    }
#endif
    (void)file;
    snprintf(why, why_size, "file not found");
}

// The reason a stat or open failed, as the player should read it.
static void say_errno(const char *file, int err, char *why, int why_size) {
    if (err == ENOENT)
        say_missing(file, why, why_size);
    else if (err == EACCES || err == EPERM)
        snprintf(why, why_size, "cannot be read (%s)", strerror(err));
    else
        snprintf(why, why_size, "cannot be opened (%s)", strerror(err));
}

// Checks what stat says of an input file: a regular file within the cap.
static bool acceptable(const struct stat &st, long max_bytes, char *why, int why_size) {
    if (const char *what = not_a_file(st.st_mode)) {
        snprintf(why, why_size, "%s", what);
        return false;
    }
    if (st.st_size > max_bytes) {
        snprintf(why, why_size, "too large (%lld bytes; at most %ld)", (long long)st.st_size, max_bytes);
        return false;
    }
    return true;
}

int open_input_file(const char *file, long max_bytes, char *why, int why_size) {
    // stat first: opening a named pipe for reading would wait for a writer,
    // and opening a device may do something by itself.
    why[0] = 0;
    struct stat before;
    if (stat(file, &before) != 0) {
        say_errno(file, errno, why, why_size);
        return -1;
    }
    if (!acceptable(before, max_bytes, why, why_size))
        return -1;
    // O_NONBLOCK: if the file was swapped for a pipe meanwhile, the open
    // still returns at once, and fstat below refuses it.
    int fd = open(file, O_RDONLY | O_BINARY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        say_errno(file, errno, why, why_size);
        return -1;
    }
    struct stat opened;
    if (fstat(fd, &opened) != 0) {
        snprintf(why, why_size, "cannot be read (%s)", strerror(errno));
        close(fd);
        return -1;
    }
    if (!acceptable(opened, max_bytes, why, why_size)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool read_input_file(const char *file, long max_bytes, std::vector<unsigned char> &out, char *why,
                     int why_size) {
    out.clear();
    int fd = open_input_file(file, max_bytes, why, why_size);
    if (fd < 0)
        return false;
    unsigned char chunk[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            snprintf(why, why_size, "cannot be read (%s)", strerror(errno));
            ok = false;
            break;
        }
        if (n == 0)
            break;
        out.insert(out.end(), chunk, chunk + n);
        if ((long)out.size() > max_bytes) { // it grew while being read
            snprintf(why, why_size, "too large (more than %ld bytes)", max_bytes);
            ok = false;
            break;
        }
    }
    close(fd);
    return ok;
}

const char *reopen_name(int fd, const char *file, char *buf, int buf_size) {
#ifdef __linux__
    snprintf(buf, buf_size, "/proc/self/fd/%d", fd);
    if (access(buf, R_OK) == 0)
        return buf;
#else
    (void)fd;
    (void)buf;
    (void)buf_size;
#endif
    return file;
}

// --- PACKFILEs over memory ---------------------------------------------------

namespace {

struct MemoryFile {
    const unsigned char *bytes;
    long size;
    long pos;
};

int mem_fclose(void *m) {
    delete (MemoryFile *)m;
    return 0;
}
int mem_getc(void *m) {
    MemoryFile *f = (MemoryFile *)m;
    return f->pos < f->size ? f->bytes[f->pos++] : EOF;
}
int mem_ungetc(int c, void *m) {
    MemoryFile *f = (MemoryFile *)m;
    if (f->pos == 0 || f->bytes[f->pos - 1] != (unsigned char)c)
        return EOF;
    f->pos--;
    return c;
}
long mem_fread(void *p, long n, void *m) {
    MemoryFile *f = (MemoryFile *)m;
    long left = f->size - f->pos;
    if (n > left)
        n = left;
    if (n <= 0)
        return 0;
    memcpy(p, f->bytes + f->pos, n);
    f->pos += n;
    return n;
}
int mem_putc(int, void *) { return EOF; }
long mem_fwrite(const void *, long, void *) { return 0; }
int mem_fseek(void *m, int offset) {
    MemoryFile *f = (MemoryFile *)m;
    if (offset < 0 || offset > f->size - f->pos)
        return -1;
    f->pos += offset;
    return 0;
}
int mem_feof(void *m) {
    MemoryFile *f = (MemoryFile *)m;
    return f->pos >= f->size;
}
int mem_ferror(void *) { return 0; }

const PACKFILE_VTABLE memory_vtable = {mem_fclose, mem_getc,   mem_ungetc, mem_fread, mem_putc,
                                       mem_fwrite, mem_fseek, mem_feof,   mem_ferror};

} // namespace

PACKFILE *open_memory_packfile(const unsigned char *bytes, long size) {
    MemoryFile *m = new MemoryFile{bytes, size, 0};
    PACKFILE *f = pack_fopen_vtable(&memory_vtable, m);
    if (!f)
        delete m;
    return f;
}
