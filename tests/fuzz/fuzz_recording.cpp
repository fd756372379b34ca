// fuzz_recording.cpp -- libFuzzer target over the recording reader: any bytes
// are refused with a line or read into frames that, written out again as a
// recording, read back to the same frames
#include "shell_input.h"
#include "shell_replay.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// The layer files the recordings' headers are compared with: one byte each,
// in a private folder ("a", "b", "c": the kept corpus names their checksums).
static void enter_layer_folder() {
    char dir[64];
    snprintf(dir, sizeof dir, "/tmp/lamplight_fuzz_rec_%d", (int)getpid());
    mkdir(dir, 0700);
    if (chdir(dir) != 0)
        abort();
    const char *layers[] = {"map.map", "obj.map", "mob.map"};
    for (int i = 0; i < 3; i++) {
        FILE *f = fopen(layers[i], "wb");
        fputc('a' + i, f);
        fclose(f);
    }
}

// The frames read, written out again as a recording's text.
static std::string written_again(const std::string &header) {
    std::string text = header;
    for (int i = 0; i < loaded_recording.frame_count; i++) {
        char keys[PLAY_KEY_COUNT + 1];
        keys_to_text(HeldKeys{recorded_keys[i]}, keys);
        text += std::string(keys) + "\n";
    }
    if (loaded_recording.end_line[0])
        text += std::string(loaded_recording.end_line) + "\n";
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static bool started = false;
    if (!started) {
        enter_layer_folder();
        started = true;
    }
    if (!read_recording_text((const char *)data, (long)size, "fuzz.rec"))
        return 0;
    // The header is the first four lines of what was accepted.
    const char *text = (const char *)data, *at = text;
    for (int line = 0; line < 4 && at < text + size; line++) {
        const char *line_end = (const char *)memchr(at, '\n', text + size - at);
        at = line_end ? line_end + 1 : text + size;
    }
    std::string header(text, at - text);
    if (header.back() != '\n') // the header was all there was
        header += '\n';
    int frames = loaded_recording.frame_count;
    std::string end = loaded_recording.end_line;
    std::string again = written_again(header);
    if (!read_recording_text(again.data(), (long)again.size(), "again.rec") ||
        loaded_recording.frame_count != frames || end != loaded_recording.end_line)
        abort();
    return 0;
}
