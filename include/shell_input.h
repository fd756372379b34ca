// shell_input.h -- the one seam through which a frame's input step learns which keys are held (src/shell)
#pragma once

// The keys play reads, one bit each in HeldKeys::bits.
enum PlayKey {
    PLAY_ALT, PLAY_LEFT, PLAY_RIGHT, PLAY_UP, PLAY_DOWN, PLAY_SPACE,
    PLAY_LCONTROL, PLAY_RCONTROL, PLAY_E, PLAY_O, PLAY_M, PLAY_ESC,
    PLAY_KEY_COUNT
};

// The keys held in one frame.
struct HeldKeys {
    unsigned bits; // bit k set: PlayKey k held
};

inline bool is_held(HeldKeys held, int play_key) { return (held.bits >> play_key) & 1; }

// Where the input step's keys come from: the keyboard (key[]), or a
// recording being replayed.
enum InputSource { INPUT_KEYBOARD, INPUT_RECORDING };
extern InputSource input_source;
extern int input_frames; // input steps run so far

// The seam: the keys held in this frame. From the keyboard it reads key[],
// with the first gamepad's keys written there first (see gamepad.h);
// from a recording it takes the next recorded frame (Esc held on a real
// keyboard is added, so a watched replay can be stopped). Either way a
// recording in progress gets the frame's line; when the keys open an editor
// the recording ends there, with an "end=editor" line.
HeldKeys next_frame_keys();
// The keyboard's keys, read from key[].
HeldKeys keyboard_keys();
// Writes `held` into key[], so that the rules, which read key[], see exactly
// the replayed keys of the frame.
void apply_held_keys(HeldKeys held);
// The library key code of one PlayKey (play_keys.cpp, with the text form below).
int play_key_code(int play_key);
// Sets or clears the key[] entry of one PlayKey.
void set_play_key(int play_key, bool held);

// A frame's keys as text: one letter per held key in the order of PlayKey
// (L R U D for the arrows, A Alt, S Space, C left and K right Control, E O M,
// X Esc), "-" for none.
void keys_to_text(HeldKeys held, char *text); // text: at least PLAY_KEY_COUNT + 1 chars
// Reads such a text; false when it is empty or a letter is unknown (that
// letter in *bad, a space for an empty text).
bool keys_from_text(const char *text, HeldKeys *held, char *bad);
// Keys a player chose (controls.cfg): when they are not the game's own, the
// seam reads which keys are down from the library's handler, turns the
// chosen keys into the play keys they stand for (Esc and the editors' chord,
// both Controls with E, O or M, stay as they are) and writes those into key[].
extern bool keys_chosen;
// Starts following the keyboard when `controls` holds chosen keys.
void watch_chosen_keys();
// The play keys the chosen keys down now stand for.
HeldKeys chosen_keys();
// Marks a key down or up as the handler would (for tests).
void set_key_down(int code, bool down);
// True when the seam's keys must be written into key[] for the rules.
bool seam_writes_keys();
// Before an editor opens: key[] shows the keyboard as it is again (the
// editors read their own keys), and the gamepad lets go.
void give_keys_back();

// True when the keys open an editor: both Controls with E, O or M.
bool keys_open_editor(HeldKeys held);
