// recording.cpp -- recordings of play: the text format, writing as the game goes, reading back
#include "shell_replay.h"
#include "map.h"
#include "player.h"
#include "view.h"
#include <allegro.h>
#include "files.h"
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

Recording loaded_recording;                        // the recording being replayed
unsigned short recorded_keys[MAX_RECORDED_FRAMES]; // its frames' keys
int replay_position = 0;                           // the next of them to replay

static FILE *recording_out = nullptr;    // the recording being written, or none
static const char *recording_name = "";  // its file name, for the line that says it failed
static bool recording_failed = false;    // a write to it failed: the run went on unrecorded

static const char MAGIC[] = "lamplight-recording";
// The largest recording read: its most frames, each a line of every key.
static const long MAX_RECORDING_BYTES = (long)MAX_RECORDED_FRAMES * (PLAY_KEY_COUNT + 2) + 4096;

bool file_fingerprint(const char *file, long *size, unsigned *checksum, char *why, int why_size) {
    std::vector<unsigned char> bytes;
    if (!read_input_file(file, MAX_LAYER_FILE_BYTES, bytes, why, why_size))
        return false;
    unsigned h = 2166136261u; // FNV-1a
    for (unsigned char c : bytes)
        h = (h ^ c) * 16777619u;
    *size = (long)bytes.size();
    *checksum = h;
    return true;
}

// --- Writing ---

// After a failed write: one line, and nothing more is written; play goes on.
// The file is closed here unless that close is what failed.
static void recording_write_failed(bool close_it) {
    fprintf(stderr, "%s: the recording could not be written (%s); the run goes on unrecorded\n", recording_name,
            strerror(errno ? errno : EIO));
    if (close_it)
        fclose(recording_out);
    recording_out = nullptr;
    recording_failed = true;
}

// Writes one line and flushes it (a crash keeps what was played).
static void write_recording_line(const char *text) {
    errno = 0;
    if (fprintf(recording_out, "%s\n", text) < 0 || fflush(recording_out) != 0)
        recording_write_failed(true);
}

bool start_recording(const char *file) {
    char why[160];
    int fd = open_output_file(file, nullptr, why, sizeof why);
    if (fd < 0 || !(recording_out = fdopen(fd, "w"))) {
        if (fd >= 0)
            close(fd);
        fprintf(stderr, "%s: cannot write the recording: %s\n", file, fd < 0 ? why : strerror(errno));
        return false;
    }
    recording_name = file;
    recording_failed = false;
    char line[160];
    snprintf(line, sizeof line, "%s %d", MAGIC, RECORDING_VERSION);
    write_recording_line(line);
    for (const LayerInfo &l : LAYERS) {
        const char *layer = l.file;
        long size = 0;
        unsigned sum = 0;
        file_fingerprint(layer, &size, &sum, why, sizeof why);
        snprintf(line, sizeof line, "layer %s %ld %08x", layer, size, sum);
        if (recording_out)
            write_recording_line(line);
    }
    return true;
}

bool recording_active() { return recording_out != nullptr; }

bool recording_lost() { return recording_failed; }

void record_frame(HeldKeys held) {
    char text[PLAY_KEY_COUNT + 1];
    keys_to_text(held, text);
    write_recording_line(text);
}

void finish_recording(const char *end_line) {
    if (!recording_out)
        return;
    write_recording_line(end_line);
    errno = 0;
    if (recording_out && fclose(recording_out) != 0)
        recording_write_failed(false); // fclose let go of the file whatever it said
    recording_out = nullptr;
}

// --- The end line ---

void make_end_line(const char *reason, int frames, char *text) {
    snprintf(text, 160, "end=%s frames=%d score=%d hp=%d bombs=%d x=%d y=%d view=%d,%d", reason, frames, score,
             player_hp / 100, bombs, player_x, player_y, view_tx, view_ty);
}

// --- Reading ---

// Splits a recording's text into lines as it is read.
struct RecordingText {
    const char *at, *end;
    int line_no;
};

// The next line, without its line end, into `line`; false at the end of
// the text. `too_long` when it does not fit.
static bool next_line(RecordingText &text, char *line, int size, bool *too_long) {
    if (text.at >= text.end)
        return false;
    text.line_no++;
    const char *stop = (const char *)memchr(text.at, '\n', text.end - text.at);
    const char *line_end = stop ? stop : text.end;
    long n = line_end - text.at;
    *too_long = n >= size;
    if (*too_long)
        n = size - 1;
    memcpy(line, text.at, n);
    while (n > 0 && line[n - 1] == '\r')
        n--;
    line[n] = '\0';
    text.at = stop ? stop + 1 : text.end;
    return true;
}

static bool fault(const char *name, int line_no, const char *what) {
    if (line_no > 0)
        fprintf(stderr, "%s: line %d: %s\n", name, line_no, what);
    else
        fprintf(stderr, "%s: %s\n", name, what);
    return false;
}

// "lamplight-recording 1".
static bool read_version(const char *line, const char *name) {
    int version = 0, used = 0;
    if (sscanf(line, "lamplight-recording %d%n", &version, &used) != 1 || line[used] != '\0')
        return fault(name, 1, "not a lamplight recording (it should start with \"lamplight-recording 1\")");
    if (version != RECORDING_VERSION) {
        char why[96];
        snprintf(why, sizeof why, "version %d is unknown (this game reads version %d)", version, RECORDING_VERSION);
        return fault(name, 1, why);
    }
    return true;
}

// "layer map.map SIZE CHECKSUM", compared with that file in the working folder.
static bool read_layer_line(const char *line, int which, const char *name, int line_no) {
    char layer[32], expected[64];
    long size = 0;
    unsigned sum = 0;
    int used = 0;
    snprintf(expected, sizeof expected, "should be \"layer %s SIZE CHECKSUM\"", LAYERS[which].file);
    if (sscanf(line, "layer %31s %ld %x%n", layer, &size, &sum, &used) != 3 || line[used] != '\0' ||
        strcmp(layer, LAYERS[which].file) != 0)
        return fault(name, line_no, expected);
    long here_size = 0;
    unsigned here_sum = 0;
    char why[256], here_why[128];
    if (!file_fingerprint(layer, &here_size, &here_sum, here_why, sizeof here_why)) {
        snprintf(why, sizeof why, "%s here %s: cannot compare it with the recorded one", layer, here_why);
        return fault(name, 0, why);
    }
    if (here_size != size || here_sum != sum) {
        snprintf(why, sizeof why, "recorded on other layer files: %s differs (recorded %ld bytes, %08x; here %ld bytes, %08x)",
                 layer, size, sum, here_size, here_sum);
        return fault(name, 0, why);
    }
    return true;
}

// "end=REASON frames=N score=S hp=H bombs=B x=X y=Y view=TX,TY", the last line.
static bool read_end_line(const char *line, const char *name, int line_no) {
    char reason[16];
    int frames, n[7], used = 0;
    if (sscanf(line, "end=%15[a-z-] frames=%d score=%d hp=%d bombs=%d x=%d y=%d view=%d,%d%n", reason, &frames, &n[0],
               &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &used) != 9 || line[used] != '\0')
        return fault(name, line_no, "a damaged end line");
    if (strcmp(reason, "editor") == 0)
        return fault(name, line_no, "the run went into an editor there: a run with editing cannot be replayed");
    if (frames != loaded_recording.frame_count) {
        char why[96];
        snprintf(why, sizeof why, "the end line counts %d frames, the recording holds %d", frames,
                 loaded_recording.frame_count);
        return fault(name, line_no, why);
    }
    snprintf(loaded_recording.end_line, sizeof loaded_recording.end_line, "%s", line);
    return true;
}

// One frame's keys.
static bool read_frame_line(const char *line, const char *name, int line_no) {
    HeldKeys held;
    char bad, why[96];
    if (!keys_from_text(line, &held, &bad)) {
        if (bad == ' ')
            return fault(name, line_no, "an empty line (a frame with no key held is \"-\")");
        snprintf(why, sizeof why, "'%c' is not a key of a recording (L R U D A S C K E O M X, or -)", bad);
        return fault(name, line_no, why);
    }
    if (keys_open_editor(held))
        return fault(name, line_no, "the keys open an editor: a run with editing cannot be replayed");
    if (loaded_recording.frame_count >= MAX_RECORDED_FRAMES)
        return fault(name, line_no, "too many frames");
    recorded_keys[loaded_recording.frame_count++] = (unsigned short)held.bits;
    return true;
}

// A zero byte would end a line early there ("R\0CKE" read as "R"): the
// line it is on, or 0 when there is none.
static int line_of_zero_byte(const char *bytes, long size) {
    const char *zero = (const char *)memchr(bytes, '\0', size);
    return zero ? 1 + (int)std::count(bytes, zero, '\n') : 0;
}

bool read_recording_text(const char *bytes, long size, const char *name) {
    loaded_recording.frame_count = 0;
    loaded_recording.end_line[0] = '\0';
    replay_position = 0;
    if (int line_no = line_of_zero_byte(bytes, size))
        return fault(name, line_no, "holds a zero byte: not a recording's text");
    RecordingText text{bytes, bytes + size, 0};
    char line[256];
    bool too_long = false;
    if (!next_line(text, line, sizeof line, &too_long))
        return fault(name, 0, "empty: not a recording");
    if (!read_version(line, name))
        return false;
    for (int which = 0; which < 3; which++) {
        if (!next_line(text, line, sizeof line, &too_long))
            return fault(name, 0, "ends inside its header");
        if (!read_layer_line(line, which, name, text.line_no))
            return false;
    }
    while (next_line(text, line, sizeof line, &too_long)) {
        if (too_long)
            return fault(name, text.line_no, "too long");
        if (loaded_recording.end_line[0])
            return fault(name, text.line_no, "more lines after the end line");
        bool ok = strncmp(line, "end=", 4) == 0 ? read_end_line(line, name, text.line_no)
                                                 : read_frame_line(line, name, text.line_no);
        if (!ok)
            return false;
    }
    return true;
}

bool load_recording(const char *file) {
    std::vector<unsigned char> bytes;
    char why[160];
    if (!read_input_file(file, MAX_RECORDING_BYTES, bytes, why, sizeof why)) {
        fprintf(stderr, "%s: cannot read the recording: %s\n", file, why);
        return false;
    }
    return read_recording_text((const char *)bytes.data(), (long)bytes.size(), file);
}
