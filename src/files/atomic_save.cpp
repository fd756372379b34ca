// atomic_save.cpp -- replacing a file so that it is either the old one or the whole new one
#include "files.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#ifndef _WIN32
#include <sys/file.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#ifndef O_BINARY
#define O_BINARY 0
#endif

const char SAVE_TEMP_INFIX[] = ".saving-";
static const int TEMP_SUFFIX_LENGTH = 6; // mkstemp's XXXXXX
static const int MAX_LINK_DEPTH = 16;    // links in a chain a save follows

// --- What differs between systems, in one place ---------------------------
#ifdef _WIN32
#include <io.h>
// Two functions of kernel32, declared here: <windows.h> cannot go beside
// allegro.h (both define BITMAP).
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char *from, const char *to, unsigned long flags);
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError(void);
static const unsigned long REPLACE_EXISTING = 0x1, WRITE_THROUGH = 0x8;

// _commit needs a handle open for writing, which the temporary file is.
static bool flush_to_disk(int fd) { return _commit(fd) == 0; }
static void set_mode(int, mode_t) {}
// rename does not replace an existing file on Windows; MoveFileExA does. Its
// failure is told in Windows' own codes: the usual ones as errno.
static bool replace_file(const char *from, const char *to) {
    if (MoveFileExA(from, to, REPLACE_EXISTING | WRITE_THROUGH) != 0)
        return true;
    switch (GetLastError()) {
    case 5: errno = EACCES; break;   // access denied (a read-only file, say)
    case 32: errno = EBUSY; break;   // sharing violation: open elsewhere
    case 112: errno = ENOSPC; break; // disk full
    default: errno = EIO; break;
    }
    return false;
}
static void flush_folder(const std::string &) {}
// No symbolic links to follow.
static bool link_target(const char *file, std::string &path) {
    path = file;
    return true;
}
// Windows refuses to delete a file another process holds open, so a live
// save's temporary file survives the clean-up without a lock.
static bool hold_temp(int, const std::string &, int *lock_fd) {
    *lock_fd = -1;
    return true;
}
static bool temp_abandoned(const std::string &, int *fd) {
    *fd = -1;
    return true;
}
static int make_temp(std::string &name) {
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back(0);
    if (_mktemp_s(buf.data(), buf.size()) != 0)
        return -1;
    name = buf.data();
    return open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_BINARY, 0666);
}
#else
static bool flush_to_disk(int fd) { return fsync(fd) == 0; }
static void set_mode(int fd, mode_t mode) { fchmod(fd, mode); }
static bool replace_file(const char *from, const char *to) { return rename(from, to) == 0; }
// Once the rename is done the new file is whole; flushing the folder makes
// the rename itself survive a power cut. Some file systems cannot, and then
// there is nothing better to do.
static void flush_folder(const std::string &folder) {
    int fd = open(folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}
static bool is_link(const char *file) {
    struct stat st;
    return lstat(file, &st) == 0 && S_ISLNK(st.st_mode);
}
static std::string folder_of(const std::string &path);
// The file a symbolic link finally points at (into `path`), even when that
// file does not exist yet. A chain of up to MAX_LINK_DEPTH links is
// followed; false for a longer one (or a loop), whose last link a save
// would otherwise replace with a file.
static bool link_target(const char *file, std::string &path) {
    path = file;
    for (int depth = 0; is_link(path.c_str()); depth++) {
        char buf[4096];
        ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
        if (n <= 0 || depth == MAX_LINK_DEPTH)
            return false;
        buf[n] = 0;
        path = buf[0] == '/' ? std::string(buf) : folder_of(path) + "/" + buf;
    }
    return true;
}
// A save holds an exclusive lock on its temporary file until the rename, so
// the clean-up of another save (another game in the same folder) can tell a
// live temporary file from one a killed save left. False when the clean-up
// took the file away between its making and the lock: make another. The
// lock is taken on a descriptor of its own (`*lock_fd`), closed after the
// rename, so that closing the written one does not let it go.
static bool hold_temp(int fd, const std::string &name, int *lock_fd) {
    *lock_fd = open(name.c_str(), O_RDONLY);
    if (*lock_fd >= 0)
        flock(*lock_fd, LOCK_EX); // a file system without locks: the save goes on unguarded
    struct stat mine, named;
    return fstat(fd, &mine) == 0 && stat(name.c_str(), &named) == 0 && mine.st_ino == named.st_ino &&
           mine.st_dev == named.st_dev;
}
// True when no save holds `path`; the lock is then held while the caller
// removes it, so no save can take it up meanwhile (see hold_temp). The
// descriptor stays open until then: `*fd`, to be closed by the caller.
static bool temp_abandoned(const std::string &path, int *fd) {
    *fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW);
    if (*fd < 0)
        return false;
    struct stat opened, named;
    return flock(*fd, LOCK_EX | LOCK_NB) == 0 && fstat(*fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
           lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev;
}
static int make_temp(std::string &name) {
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back(0);
    int fd = mkstemp(buf.data());
    name = buf.data();
    return fd;
}
#endif
// ----------------------------------------------------------------------------

static std::string folder_of(const std::string &path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

static std::string base_of(const std::string &path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes the temporary files that saves of `target` left when they were
// killed before their rename: "<name>.saving-XXXXXX", regular files only,
// and only those no live save holds.
static void remove_stale_temps(const std::string &target) {
    std::string folder = folder_of(target);
    std::string prefix = base_of(target) + SAVE_TEMP_INFIX;
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (struct dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() != prefix.size() + TEMP_SUFFIX_LENGTH || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string path = folder + "/" + name;
        int fd;
        if (temp_abandoned(path, &fd))
            unlink(path.c_str());
        if (fd >= 0)
            close(fd);
    }
    closedir(dir);
}

int write_all(int fd, const unsigned char *bytes, long size) {
    while (size > 0) {
        ssize_t n = write(fd, bytes, (size_t)size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        bytes += n;
        size -= n;
    }
    return 0;
}

// Fills the temporary file; nullptr when all went well, else what failed.
static const char *fill_temp(int fd, const unsigned char *bytes, long size, int *err) {
    if ((*err = write_all(fd, bytes, size)) != 0)
        return "writing";
    if (!flush_to_disk(fd)) {
        *err = errno;
        return "flushing to disk";
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_size != size) {
        *err = EIO;
        return "checking the written size";
    }
    return nullptr;
}

// Makes the temporary file beside `target` and takes its lock (hold_temp);
// the file's descriptor, or -1 with errno set.
static int make_held_temp(const std::string &target, std::string &temp, int *lock_fd) {
    for (int attempt = 0; attempt < 10; attempt++) {
        temp = target + SAVE_TEMP_INFIX + "XXXXXX";
        int fd = make_temp(temp);
        if (fd < 0)
            return -1;
        if (hold_temp(fd, temp, lock_fd))
            return fd;
        if (*lock_fd >= 0)
            close(*lock_fd);
        close(fd);
    }
    errno = EBUSY;
    return -1;
}

int write_file_atomically(const char *file, const unsigned char *bytes, long size, char *why,
                          int why_size) {
    std::string target;
    if (!link_target(file, target)) {
        snprintf(why, why_size, "a chain of more than %d symbolic links (or a loop); nothing was written",
                 MAX_LINK_DEPTH);
        return -1;
    }
    struct stat old;
    bool had_old = stat(target.c_str(), &old) == 0;
    if (had_old && !S_ISREG(old.st_mode)) {
        snprintf(why, why_size, "%s; nothing was written",
                 S_ISDIR(old.st_mode) ? "it is a folder, not a file" : "it is not a regular file");
        return -1;
    }
    const char *kept = had_old ? "the old file is kept" : "no file was made";
    mode_t mask = umask(0);
    umask(mask);
    mode_t mode = had_old ? old.st_mode & 07777 : 0666 & ~mask;

    remove_stale_temps(target);
    std::string temp;
    int lock_fd = -1;
    int fd = make_held_temp(target, temp, &lock_fd);
    if (fd < 0) {
        snprintf(why, why_size, "cannot make a file in %s (%s); %s", folder_of(target).c_str(), strerror(errno),
                 kept);
        return -1;
    }
    set_mode(fd, mode);
    int err = 0;
    const char *failed = fill_temp(fd, bytes, size, &err);
    if (close(fd) != 0 && !failed) {
        err = errno;
        failed = "closing";
    }
    if (!failed && !replace_file(temp.c_str(), target.c_str())) {
        err = errno;
        failed = "replacing the old file";
    }
    if (failed)
        unlink(temp.c_str());
    if (lock_fd >= 0)
        close(lock_fd);
    if (failed) {
        snprintf(why, why_size, "%s failed: %s; %s", failed, strerror(err), kept);
        return -1;
    }
    flush_folder(folder_of(target));
    return 0;
}
