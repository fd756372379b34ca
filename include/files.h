// files.h -- how the game reads its input files and writes its layer files (src/files)
//
// Every input file is opened once, found to be a regular file before anything
// can block on it, and read with a size cap. Every save either leaves the old
// file byte for byte or puts the whole new file in place.
#pragma once
#include <allegro.h>
#include <vector>

// Opens `file` for reading if it is a regular file of at most `max_bytes`.
// Never blocks (a named pipe or a device is refused before it is opened for
// good). Returns the descriptor, or -1 with the reason in `why`.
int open_input_file(const char *file, long max_bytes, char *why, int why_size);

// Reads all of `file` (a regular file of at most `max_bytes`) into `out`.
// False with the reason in `why` ("file not found", "is a folder, not a
// file", "cannot be read (Permission denied)", ...).
bool read_input_file(const char *file, long max_bytes, std::vector<unsigned char> &out, char *why,
                     int why_size);

// A name under which the library can open exactly the file behind `fd`
// again (on Linux the descriptor's own entry in /proc), so that what the
// library loads is the file that was checked; elsewhere `file` itself.
const char *reopen_name(int fd, const char *file, char *buf, int buf_size);

// A read-only PACKFILE over `size` bytes in memory (which must outlive it).
// The library's loaders that take a PACKFILE (load_pcx_pf) then read the
// very bytes that were checked. NULL when out of memory.
PACKFILE *open_memory_packfile(const unsigned char *bytes, long size);

// Replaces `file` with `size` bytes, atomically: a temporary file beside the
// real file (the target, when `file` is a symbolic link), every write
// checked, flushed to disk with its folder, its size verified, then renamed
// over the old one with the old one's mode. Temporary files that earlier
// interrupted saves of the same file left behind are removed first. On
// failure the old file is untouched, the temporary file removed, and the
// reason is in `why`; returns 0 or -1.
int write_file_atomically(const char *file, const unsigned char *bytes, long size, char *why,
                          int why_size);
// The temporary file name's prefix for `file` ("map.map" -> "map.map.saving-").
extern const char SAVE_TEMP_INFIX[];

// The files a run reads from its working folder, null-terminated: no output
// of the game may be one of them.
extern const char *const GAME_INPUT_FILES[];
// Whether `file` may be written as an output: absent, or a regular file that
// is none of GAME_INPUT_FILES nor `also_input` (when not null), through any
// link. False with the reason in `why` ("is a named pipe, not a file", "is
// map.map, which the game reads: write to another name").
bool output_file_allowed(const char *file, const char *also_input, char *why, int why_size);
// Opens `file` for writing, emptied, after the same checks made again on
// what was opened (so it never blocks on a pipe and never cuts an input).
// Returns the descriptor, or -1 with the reason in `why`.
int open_output_file(const char *file, const char *also_input, char *why, int why_size);
// Writes all `size` bytes to `fd`, through short writes and interruptions;
// 0, or the errno of the write that failed.
int write_all(int fd, const unsigned char *bytes, long size);
// A write-only PACKFILE that appends what the library writes to `out`, so
// an image is made in memory and then written where and how the game says.
PACKFILE *open_collecting_packfile(std::vector<unsigned char> &out);
