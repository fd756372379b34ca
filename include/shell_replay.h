// shell_replay.h -- recordings of play: writing them as the game goes, reading them back, the end line (src/shell)
#pragma once
#include "shell_input.h"
#include <cstdio>

constexpr int RECORDING_VERSION = 1;
constexpr int MAX_RECORDED_FRAMES = 1 << 20; // about 17 hours of play

// A recording read back: its frames and the end line it finished with.
struct Recording {
    int frame_count;
    char end_line[256]; // "" when the file has none (a run cut short)
};
extern Recording loaded_recording;
extern unsigned short recorded_keys[MAX_RECORDED_FRAMES]; // HeldKeys::bits of each frame
extern int replay_position; // the next frame of loaded_recording to replay

// Size and FNV-1a checksum of a layer file; false with the reason when it
// cannot be read (a pipe, a device or a folder is refused, never waited on).
bool file_fingerprint(const char *file, long *size, unsigned *checksum, char *why, int why_size);

// Reads `file` (a recording) into loaded_recording and recorded_keys, and
// checks it was made on the layer files of the working folder. False after
// one line on standard error naming the file and the fault.
bool load_recording(const char *file);
// The same, from the recording's bytes in memory; `name` names it in the message.
bool read_recording_text(const char *bytes, long size, const char *name);

// Starts writing a recording of play to `file`: the header now, one line per
// frame as the game goes (flushed each frame), the end line at the end.
// False after one line on standard error.
bool start_recording(const char *file);
bool recording_active();
// One frame's keys. A write that fails says so in one line and stops the
// recording; play goes on.
void record_frame(HeldKeys held);
// Whether a write to this run's recording failed (the game then ends non-zero).
bool recording_lost();
// The end line as the trailer; the recording is then closed.
void finish_recording(const char *end_line);

// The end line of a run: "end=REASON frames=N score=S hp=H bombs=B x=X y=Y
// view=TX,TY", from the game's state now. `text` holds at least 160 chars.
void make_end_line(const char *reason, int frames, char *text);

