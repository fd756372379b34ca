// input.cpp -- the input seam: a frame's held keys from the keyboard, chosen keys, the pad or a recording
#include "shell_input.h"
#include "shell_replay.h"
#include "shell_gamepad.h"
#include "shell_controls.h"
#include <allegro.h>

InputSource input_source = INPUT_KEYBOARD; // where next_frame_keys takes the keys from
int input_frames = 0;                      // input steps run so far (frames of the end line)

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

// --- Keys a player chose ---

bool keys_chosen = false; // the seam turns chosen keys into play keys and writes them into key[]
// Which keys are down on the keyboard, as the library's handler reports
// them; unlike key[], never written by the game.
static volatile char keys_down[KEY_MAX];

static void note_key(int scancode) { keys_down[scancode & 0x7f] = (scancode & 0x80) ? 0 : 1; }
END_OF_STATIC_FUNCTION(note_key)

void watch_chosen_keys() {
    keys_chosen = !keys_are_default(controls);
    if (!keys_chosen)
        return;
    LOCK_FUNCTION(note_key);
    LOCK_VARIABLE(keys_down);
    for (int k = 0; k < KEY_MAX; k++)
        keys_down[k] = key[k] ? 1 : 0;
    keyboard_lowlevel_callback = note_key;
}

void set_key_down(int code, bool down) { keys_down[code] = down ? 1 : 0; }

HeldKeys chosen_keys() {
    HeldKeys held = {0};
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int code : controls.keys[a])
            if (code && keys_down[code])
                held.bits |= 1u << action_play_key(a);
    // Esc always ends; the editors' chord is both Controls with E, O or M, as ever.
    const int fixed[][2] = {{KEY_ESC, PLAY_ESC}, {KEY_RCONTROL, PLAY_RCONTROL}, {KEY_E, PLAY_E},
                            {KEY_O, PLAY_O},     {KEY_M, PLAY_M}};
    for (const auto &f : fixed)
        if (keys_down[f[0]])
            held.bits |= 1u << f[1];
    if (keys_down[KEY_LCONTROL] && keys_down[KEY_RCONTROL])
        held.bits |= 1u << PLAY_LCONTROL;
    return held;
}

bool seam_writes_keys() { return input_source != INPUT_KEYBOARD || keys_chosen; }

void give_keys_back() {
    release_gamepad_keys();
    if (keys_chosen && input_source == INPUT_KEYBOARD)
        for (int k = 0; k < PLAY_KEY_COUNT; k++)
            key[play_key_code(k)] = keys_down[play_key_code(k)] ? -1 : 0;
}

HeldKeys next_frame_keys() {
    HeldKeys held;
    if (input_source == INPUT_RECORDING) {
        held = replayed_keys();
    } else if (keys_chosen) {
        held.bits = chosen_keys().bits | poll_gamepad().bits;
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
