// shell_gamepad.h -- the first gamepad as a second keyboard for play (src/shell)
//
// The d-pad or the left stick walks, one button fires, one drops a bomb,
// one holds ghost walking, Start and Back together end the game. The
// buttons are numbered as Linux's joystick devices number an Xbox-style pad
// (xpad, and most pads that copy its layout). The editors never see it.
#pragma once
#include "shell_input.h"
#include <allegro.h>

constexpr int PAD_BUTTON_FIRE = 0;  // A: Alt
constexpr int PAD_BUTTON_BOMB = 1;  // B: Space
constexpr int PAD_BUTTON_GHOST = 4; // left shoulder: Left Control
constexpr int PAD_BUTTON_BACK = 6;  // Back with Start: Esc
constexpr int PAD_BUTTON_START = 7;
// A stick counts past a third of its range (positions run -128..127).
constexpr int PAD_DEAD_ZONE = 127 / 3;

extern bool gamepad_present; // a gamepad was found at start-up

// Installs the joystick driver and looks for a gamepad; silent either way.
void start_gamepad();
// The play keys a gamepad state holds (pure: reads only `pad`).
HeldKeys gamepad_keys_of(const JOYSTICK_INFO &pad);
// The first gamepad's keys this frame (none without a gamepad), written
// into key[] so that the rules, which read key[], see them: a key the pad
// holds is set, and a key only the pad held is cleared when it lets go.
HeldKeys read_gamepad();
// Lets go of every key only the gamepad holds (before an editor opens).
void release_gamepad_keys();
