// input.cpp -- the input seam: a frame's held keys from the keyboard or a recording
#include "shell_input.h"
#include "shell_replay.h"
#include "shell_gamepad.h"
#include <allegro.h>

InputSource input_source = INPUT_KEYBOARD; // where next_frame_keys takes the keys from
int input_frames = 0;                      // input steps run so far (frames of the end line)

// Each key play reads: its library key code and its letter in recordings.
struct PlayKeyInfo {
    int key_code;
    char letter;
};
static const PlayKeyInfo play_keys[PLAY_KEY_COUNT] = {
    {KEY_ALT, 'A'},      {KEY_LEFT, 'L'},     {KEY_RIGHT, 'R'}, {KEY_UP, 'U'},
    {KEY_DOWN, 'D'},     {KEY_SPACE, 'S'},    {KEY_LCONTROL, 'C'}, {KEY_RCONTROL, 'K'},
    {KEY_E, 'E'},        {KEY_O, 'O'},        {KEY_M, 'M'},     {KEY_ESC, 'X'},
};

HeldKeys keyboard_keys() {
    HeldKeys held = {0};
    for (int k = 0; k < PLAY_KEY_COUNT; k++)
        if (key[play_keys[k].key_code])
            held.bits |= 1u << k;
    return held;
}

void set_play_key(int play_key, bool held) { key[play_keys[play_key].key_code] = held ? 1 : 0; }

void apply_held_keys(HeldKeys held) {
    for (int k = 0; k < PLAY_KEY_COUNT; k++)
        key[play_keys[k].key_code] = is_held(held, k) ? 1 : 0;
}

// The next recorded frame; a real Esc is added so that a watched replay can
// be stopped (headless, key[] only ever holds what was replayed).
static HeldKeys replayed_keys() {
    HeldKeys held = {0};
    if (replay_position < loaded_recording.frame_count)
        held.bits = recorded_keys[replay_position++];
    if (key[KEY_ESC])
        held.bits |= 1u << PLAY_ESC;
    return held;
}

HeldKeys next_frame_keys() {
    HeldKeys held;
    if (input_source == INPUT_RECORDING) {
        held = replayed_keys();
    } else {
        read_gamepad(); // into key[], beside the keyboard's keys
        held = keyboard_keys();
    }
    input_frames++;
    if (recording_active()) {
        record_frame(held);
        // A recording covers play only: it ends where an editor opens.
        if (keys_open_editor(held)) {
            char line[160];
            make_end_line("editor", input_frames, line);
            finish_recording(line);
        }
    }
    return held;
}

void keys_to_text(HeldKeys held, char *text) {
    int n = 0;
    for (int k = 0; k < PLAY_KEY_COUNT; k++)
        if (is_held(held, k))
            text[n++] = play_keys[k].letter;
    if (n == 0)
        text[n++] = '-';
    text[n] = '\0';
}

bool keys_from_text(const char *text, HeldKeys *held, char *bad) {
    held->bits = 0;
    *bad = ' ';
    if (text[0] == '\0')
        return false;
    if (text[0] == '-' && text[1] == '\0')
        return true;
    for (const char *c = text; *c; c++) {
        int k = 0;
        while (k < PLAY_KEY_COUNT && play_keys[k].letter != *c)
            k++;
        if (k == PLAY_KEY_COUNT) {
            *bad = *c;
            return false;
        }
        held->bits |= 1u << k;
    }
    return true;
}

bool keys_open_editor(HeldKeys held) {
    return is_held(held, PLAY_LCONTROL) && is_held(held, PLAY_RCONTROL) &&
           (is_held(held, PLAY_E) || is_held(held, PLAY_O) || is_held(held, PLAY_M));
}
