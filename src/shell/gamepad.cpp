// gamepad.cpp -- the chosen gamepad read through the input seam as held keys
#include "shell_gamepad.h"
#include "shell_controls.h"

bool gamepad_present = false; // a gamepad was found at start-up
int gamepad_index = 0;        // which of the library's joysticks it is

// The keys the pad, not the keyboard, has set in key[].
static HeldKeys pad_owned = {0};

// Which stick is the d-pad: Linux puts the hat on axes 6 and 7, which
// Allegro pairs into its fourth stick on a pad with eight axes.
static const int LEFT_STICK = 0, DPAD_STICK = 3;

static void add(HeldKeys &held, int play_key) { held.bits |= 1u << play_key; }

// The arrows a two-axis stick points to, past the dead zone.
static void add_stick(HeldKeys &held, const JOYSTICK_STICK_INFO &stick) {
    if (stick.num_axis < 2)
        return;
    int x = stick.axis[0].pos, y = stick.axis[1].pos;
    if (x < -PAD_DEAD_ZONE)
        add(held, PLAY_LEFT);
    if (x > PAD_DEAD_ZONE)
        add(held, PLAY_RIGHT);
    if (y < -PAD_DEAD_ZONE)
        add(held, PLAY_UP);
    if (y > PAD_DEAD_ZONE)
        add(held, PLAY_DOWN);
}

static bool pressed(const JOYSTICK_INFO &pad, int button) {
    return button < pad.num_buttons && pad.button[button].b;
}

HeldKeys gamepad_keys_of(const JOYSTICK_INFO &pad) {
    HeldKeys held = {0};
    if (pad.num_sticks > LEFT_STICK)
        add_stick(held, pad.stick[LEFT_STICK]);
    if (pad.num_sticks > DPAD_STICK)
        add_stick(held, pad.stick[DPAD_STICK]);
    // Each button that stands for a key on its own, as controls.cfg binds it.
    const int buttons[][2] = {{controls.pad_shoot, PLAY_ALT}, {controls.pad_bomb, PLAY_SPACE},
                              {controls.pad_ghost, PLAY_LCONTROL}};
    for (const auto &b : buttons)
        if (pressed(pad, b[0]))
            add(held, b[1]);
    if (pressed(pad, controls.pad_quit[0]) && pressed(pad, controls.pad_quit[1]))
        add(held, PLAY_ESC);
    return held;
}

void start_gamepad() {
    // Named before the library opens the devices: it opens them in the same order.
    int chosen = choose_gamepad(nullptr);
    gamepad_present = chosen >= 0 && install_joystick(JOY_TYPE_AUTODETECT) == 0 && chosen < num_joysticks;
    gamepad_index = chosen;
}

// Sets the keys the pad holds now and clears those only it held and has let
// go of. A key the keyboard holds is the keyboard's: the pad leaves it alone.
static void own_keys(HeldKeys now) {
    HeldKeys keyboard = keyboard_keys(), owned = {0};
    for (int k = 0; k < PLAY_KEY_COUNT; k++) {
        bool by_pad = is_held(now, k), was_owned = is_held(pad_owned, k);
        if (by_pad && (was_owned || !is_held(keyboard, k))) {
            set_play_key(k, true);
            owned.bits |= 1u << k;
        } else if (!by_pad && was_owned) {
            set_play_key(k, false);
        }
    }
    pad_owned = owned;
}

HeldKeys poll_gamepad() {
    HeldKeys held = {0};
    if (gamepad_present) {
        poll_joystick();
        held = gamepad_keys_of(joy[gamepad_index]);
    }
    return held;
}

HeldKeys read_gamepad() {
    HeldKeys held = poll_gamepad();
    own_keys(held);
    return held;
}

void release_gamepad_keys() { own_keys(HeldKeys{0}); }
