// recording.cpp -- recordings of play: the text format, writing as the game goes, reading back
#include "replay.h"
#include "layers.h"
#include "player.h"
#include "view.h"
#include <allegro.h>
#include <cerrno>
#include <cstring>

Recording loaded_recording;                        // the recording being replayed
unsigned short recorded_keys[MAX_RECORDED_FRAMES]; // its frames' keys
int replay_position = 0;                           // the next of them to replay

static FILE *recording_out = nullptr; // the recording being written, or none

static const char MAGIC[] = "lamplight-recording";
static const char *const LAYER_FILES[3] = {"map.map", "obj.map", "mob.map"};

bool file_fingerprint(const char *file, long *size, unsigned *checksum) {
    FILE *f = fopen(file, "rb");
    if (!f)
        return false;
    unsigned h = 2166136261u; // FNV-1a
    long n = 0;
    int c;
    while ((c = getc(f)) != EOF) {
        h = (h ^ (unsigned)c) * 16777619u;
        n++;
    }
    fclose(f);
    *size = n;
    *checksum = h;
    return true;
}

// --- Writing ---

bool start_recording(const char *file) {
    recording_out = fopen(file, "w");
    if (!recording_out) {
        fprintf(stderr, "%s: cannot write the recording: %s\n", file, strerror(errno));
        return false;
    }
    fprintf(recording_out, "%s %d\n", MAGIC, RECORDING_VERSION);
    for (const char *layer : LAYER_FILES) {
        long size = 0;
        unsigned sum = 0;
        file_fingerprint(layer, &size, &sum);
        fprintf(recording_out, "layer %s %ld %08x\n", layer, size, sum);
    }
    fflush(recording_out);
    return true;
}

bool recording_active() { return recording_out != nullptr; }

void record_frame(HeldKeys held) {
    char text[PLAY_KEY_COUNT + 1];
    keys_to_text(held, text);
    fprintf(recording_out, "%s\n", text);
    fflush(recording_out); // a crash keeps what was played
}

void finish_recording(const char *end_line) {
    if (!recording_out)
        return;
    fprintf(recording_out, "%s\n", end_line);
    fclose(recording_out);
    recording_out = nullptr;
}

// --- The end line ---

void make_end_line(const char *reason, int frames, char *text) {
    snprintf(text, 160, "end=%s frames=%d score=%d hp=%d bombs=%d x=%d y=%d view=%d,%d", reason, frames, score,
             player_hp / 100, bombs, player_x, player_y, view_tx, view_ty);
}

const char *end_reason(const char *otherwise) {
    if (player_hp <= 0)
        return "died";
    if (key[KEY_ESC])
        return "esc";
    if (game_over)
        return "goal";
    return otherwise;
}

// --- Reading ---

// One line of the recording, without its line end; false at the end of the file.
static bool next_line(FILE *in, char *line, int size, int *line_no, bool *too_long) {
    if (!fgets(line, size, in))
        return false;
    (*line_no)++;
    size_t n = strlen(line);
    *too_long = n == (size_t)size - 1 && line[n - 1] != '\n';
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r'))
        line[--n] = '\0';
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
    snprintf(expected, sizeof expected, "should be \"layer %s SIZE CHECKSUM\"", LAYER_FILES[which]);
    if (sscanf(line, "layer %31s %ld %x%n", layer, &size, &sum, &used) != 3 || line[used] != '\0' ||
        strcmp(layer, LAYER_FILES[which]) != 0)
        return fault(name, line_no, expected);
    long here_size = 0;
    unsigned here_sum = 0;
    char why[160];
    if (!file_fingerprint(layer, &here_size, &here_sum)) {
        snprintf(why, sizeof why, "%s: cannot read it here to compare", layer);
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

bool read_recording(FILE *in, const char *name) {
    loaded_recording.frame_count = 0;
    loaded_recording.end_line[0] = '\0';
    replay_position = 0;
    char line[256];
    int line_no = 0;
    bool too_long = false;
    if (!next_line(in, line, sizeof line, &line_no, &too_long))
        return fault(name, 0, "empty: not a recording");
    if (!read_version(line, name))
        return false;
    for (int which = 0; which < 3; which++) {
        if (!next_line(in, line, sizeof line, &line_no, &too_long))
            return fault(name, 0, "ends inside its header");
        if (!read_layer_line(line, which, name, line_no))
            return false;
    }
    while (next_line(in, line, sizeof line, &line_no, &too_long)) {
        if (too_long)
            return fault(name, line_no, "too long");
        if (loaded_recording.end_line[0])
            return fault(name, line_no, "more lines after the end line");
        bool ok = strncmp(line, "end=", 4) == 0 ? read_end_line(line, name, line_no)
                                                 : read_frame_line(line, name, line_no);
        if (!ok)
            return false;
    }
    return true;
}

bool load_recording(const char *file) {
    FILE *in = fopen(file, "r");
    if (!in) {
        fprintf(stderr, "%s: cannot read the recording: %s\n", file, strerror(errno));
        return false;
    }
    bool ok = read_recording(in, file);
    fclose(in);
    return ok;
}
