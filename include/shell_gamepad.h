// shell_gamepad.h -- the first gamepad as a second keyboard for play (src/shell)
//
// The d-pad or the left stick walks, one button fires, one drops a bomb,
// one holds ghost walking, two together end the game (controls.cfg may
// choose others). The buttons are numbered as Linux's joystick devices
// number an Xbox-style pad (xpad, and most pads that copy its layout). The
// editors never see it. Of the joystick devices the first that looks like
// a pad is used: one with buttons that does not call itself an
// accelerometer or a motion sensor (many laptops show theirs as js0).
#pragma once
#include "shell_input.h"
#include <allegro.h>
#include <cstdio>

// The usual layout (controls.cfg's defaults).
constexpr int PAD_BUTTON_FIRE = 0;  // A: Alt
constexpr int PAD_BUTTON_BOMB = 1;  // B: Space
constexpr int PAD_BUTTON_GHOST = 4; // left shoulder: Left Control
constexpr int PAD_BUTTON_BACK = 6;  // Back with Start: Esc
constexpr int PAD_BUTTON_START = 7;
// A stick counts past a third of its range (positions run -128..127).
constexpr int PAD_DEAD_ZONE = 127 / 3;

extern bool gamepad_present; // a gamepad was found at start-up
extern int gamepad_index;    // which of the library's joysticks (joy[]) it is

// A joystick device as the system names it.
struct PadDevice {
    char path[32];  // "/dev/input/js0"
    char name[128]; // "Microsoft X-Box 360 pad"
    int buttons;
};
// Whether a device looks like a gamepad: it has buttons, and its name does
// not say accelerometer or motion sensor.
bool looks_like_gamepad(const PadDevice &device);
// The index of the first device that looks like a gamepad, of those the
// library opens (js0, js1, ... until one is missing), or -1; each device
// found is described on `out` (when not null), one comment line each.
int choose_gamepad(FILE *out);

// Installs the joystick driver and looks for a gamepad; silent either way.
void start_gamepad();
// The play keys a gamepad state holds, through the buttons `controls` binds.
HeldKeys gamepad_keys_of(const JOYSTICK_INFO &pad);
// The gamepad's keys this frame (none without a gamepad).
HeldKeys poll_gamepad();
// The same keys, written into key[] so that the rules, which read key[], see them: a key the pad
// holds is set, and a key only the pad held is cleared when it lets go.
HeldKeys read_gamepad();
// Lets go of every key only the gamepad holds (before an editor opens).
void release_gamepad_keys();
