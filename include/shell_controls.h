// shell_controls.h -- the keys and gamepad buttons a player chooses for play, from controls.cfg (src/shell)
//
// The chosen keys are turned into the keys play has always read at the
// input seam (input.cpp): the rules and the recordings never see them.
#pragma once
#include "shell_input.h"
#include <cstddef>
#include <cstdio>

// The actions of play a player can bind.
enum Action {
    ACTION_LEFT, ACTION_RIGHT, ACTION_UP, ACTION_DOWN,
    ACTION_SHOOT, ACTION_BOMB, ACTION_GHOST, ACTION_QUIT,
    ACTION_COUNT
};
constexpr int KEYS_PER_ACTION = 2;

// What each action is bound to.
struct Controls {
    int keys[ACTION_COUNT][KEYS_PER_ACTION]; // Allegro key codes, 0 for none; quit's
                                             // are extra keys beside Esc, which always ends
    int pad_shoot, pad_bomb, pad_ghost;      // gamepad button numbers
    int pad_quit[2];                         // the two buttons held together to end
};

extern const Controls DEFAULT_CONTROLS; // the game's own keys and the usual pad layout
extern Controls controls;               // the mapping in use (DEFAULT_CONTROLS until a file is read)
extern const char CONTROLS_FILE[];      // "controls.cfg", read from the run folder

// The play key each action stands for (shoot: PLAY_ALT, ghost: PLAY_LCONTROL, ...).
int action_play_key(int action);
// The action's name in the file ("left", ..., "quit").
const char *action_name(int action);
// The key code of a name as Allegro's key-name table writes it ("X",
// "LCONTROL", "0 PAD"), in any case; 0 when unknown.
int key_code_of_name(const char *name);
// The name of a key code.
const char *key_name_of_code(int code);

// Reads a controls file's text into `out` (starting from the defaults).
// False with one line in `why`: "FILE: line N: what is wrong".
bool parse_controls(const char *text, size_t size, const char *file, Controls *out, char *why, size_t why_size);
// Reads `file` into `controls`: absent leaves the defaults; a file that
// cannot be read or is wrong gets its line on standard error and false.
bool load_controls(const char *file);
// True when the keys are the game's own (the gamepad may still differ).
bool keys_are_default(const Controls &c);
// Writes the mapping in use, as a controls file, one action a line.
void print_controls(FILE *out, const Controls &c);
