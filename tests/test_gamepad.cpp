// test_gamepad.cpp -- a gamepad state as the keys held in a frame
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell_gamepad.h"
#include "shell_input.h"
#include "shell_controls.h"
#include <cstring>
#include <string>

namespace {

// An Xbox-style pad as Linux's joystick device and Allegro present it:
// eight axes paired into four sticks (the left stick first, the hat last)
// and eleven buttons, all at rest.
JOYSTICK_INFO xbox_pad() {
    JOYSTICK_INFO pad;
    memset(&pad, 0, sizeof pad);
    pad.num_sticks = 4;
    pad.num_buttons = 11;
    for (int s = 0; s < 4; s++)
        pad.stick[s].num_axis = 2;
    return pad;
}

std::string keys_text(HeldKeys held) {
    char text[PLAY_KEY_COUNT + 1];
    keys_to_text(held, text);
    return text;
}

} // namespace

// Each direction of the stick and the d-pad, the dead zone, each button,
// and Start with Back.
TEST(Gamepad, SticksAndButtonsAreTheKeysOfPlay) {
    const struct {
        const char *what;
        int stick, axis, pos;             // one axis moved (stick -1: none)
        std::initializer_list<int> buttons;
        const char *keys;
    } cases[] = {
        {"at rest", -1, 0, 0, {}, "-"},
        {"stick left", 0, 0, -127, {}, "L"},
        {"stick right", 0, 0, 127, {}, "R"},
        {"stick up", 0, 1, -127, {}, "U"},
        {"stick down", 0, 1, 127, {}, "D"},
        {"stick just past a third", 0, 0, -PAD_DEAD_ZONE - 1, {}, "L"},
        {"stick at a third: dead zone", 0, 0, -PAD_DEAD_ZONE, {}, "-"},
        {"stick a little down: dead zone", 0, 1, 30, {}, "-"},
        {"d-pad left", 3, 0, -127, {}, "L"},
        {"d-pad down", 3, 1, 127, {}, "D"},
        {"the right stick does nothing", 2, 0, 127, {}, "-"},
        {"A fires", -1, 0, 0, {PAD_BUTTON_FIRE}, "A"},
        {"B drops a bomb", -1, 0, 0, {PAD_BUTTON_BOMB}, "S"},
        {"the left shoulder holds ghost walking", -1, 0, 0, {PAD_BUTTON_GHOST}, "C"},
        {"Start alone", -1, 0, 0, {PAD_BUTTON_START}, "-"},
        {"Back alone", -1, 0, 0, {PAD_BUTTON_BACK}, "-"},
        {"Start and Back end the game", -1, 0, 0, {PAD_BUTTON_START, PAD_BUTTON_BACK}, "X"},
        {"walking right while firing", 0, 0, 100, {PAD_BUTTON_FIRE}, "AR"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        JOYSTICK_INFO pad = xbox_pad();
        if (c.stick >= 0)
            pad.stick[c.stick].axis[c.axis].pos = c.pos;
        for (int b : c.buttons)
            pad.button[b].b = 1;
        EXPECT_EQ(keys_text(gamepad_keys_of(pad)), c.keys);
    }
    // A pad with three sticks (no d-pad) and few buttons.
    JOYSTICK_INFO small = xbox_pad();
    small.num_sticks = 3;
    small.num_buttons = 2;
    small.stick[0].axis[0].pos = 127;
    small.button[PAD_BUTTON_BOMB].b = 1;
    small.stick[3].axis[0].pos = -127; // not there: ignored
    small.button[PAD_BUTTON_GHOST].b = 1;
    EXPECT_EQ(keys_text(gamepad_keys_of(small)), "RS");
}

// Through the seam: a key held on the keyboard or a button held counts; a
// button let go of clears only what the pad set; an editor opening lets go
// of the pad's keys.
TEST(Gamepad, PadAndKeyboardHoldKeysTogether) {
    start_headless();
    release_all_input();
    input_source = INPUT_KEYBOARD;
    gamepad_present = true;
    memset(&joy[0], 0, sizeof joy[0]);
    joy[0] = xbox_pad();
    joy[0].stick[0].axis[0].pos = 127; // right
    joy[0].button[PAD_BUTTON_FIRE].b = 1;
    key[KEY_SPACE] = 1;                 // the keyboard drops a bomb
    key[KEY_ALT] = 1;                   // and fires too
    EXPECT_EQ(keys_text(next_frame_keys()), "ARS");
    EXPECT_TRUE(key[KEY_RIGHT]);
    // The pad lets go: right was the pad's, Alt the keyboard's.
    joy[0].stick[0].axis[0].pos = 0;
    joy[0].button[PAD_BUTTON_FIRE].b = 0;
    EXPECT_EQ(keys_text(next_frame_keys()), "AS");
    EXPECT_FALSE(key[KEY_RIGHT]);
    EXPECT_TRUE(key[KEY_ALT]);
    // Ghost walking from the pad, then an editor opens: the pad's key goes.
    joy[0].button[PAD_BUTTON_GHOST].b = 1;
    next_frame_keys();
    EXPECT_TRUE(key[KEY_LCONTROL]);
    release_gamepad_keys();
    EXPECT_FALSE(key[KEY_LCONTROL]);
    EXPECT_TRUE(key[KEY_SPACE]);
    gamepad_present = false;
    memset(&joy[0], 0, sizeof joy[0]);
    next_frame_keys();
    release_all_input();
}

// Which joystick devices count as a pad: laptops show their accelerometer
// as one.
TEST(Gamepad, SensorsAndDevicesWithoutButtonsAreNoPads) {
    const struct { const char *name; int buttons; bool pad; } cases[] = {
        {"Microsoft X-Box 360 pad", 11, true},
        {"Sony PLAYSTATION(R)3 Controller", 17, true},
        {"ST LIS3LV02DL Accelerometer", 0, false},
        {"HP accelerometer with buttons", 2, false},
        {"Sony PLAYSTATION(R)3 Controller Motion Sensors", 1, false},
        {"Nintendo Switch Pro Controller IMU", 4, false},
        {"A pad without buttons", 0, false},
    };
    for (const auto &c : cases) {
        PadDevice d = {"/dev/input/js0", "", c.buttons};
        snprintf(d.name, sizeof d.name, "%s", c.name);
        EXPECT_EQ(looks_like_gamepad(d), c.pad) << c.name;
    }
}

// Chosen keys through the seam: shoot on X, ghost on Z, quit adds Q. Alt and
// Left Control alone do nothing; both Controls with E are still the editors'.
TEST(Gamepad, ChosenKeysAreTheKeysOfPlayAtTheSeam) {
    start_headless();
    release_all_input();
    input_source = INPUT_KEYBOARD;
    const char text[] = "[keys]\nshoot = X\nghost = Z\nquit = Q\n[gamepad]\nshoot = 2\n";
    char why[200];
    ASSERT_TRUE(parse_controls(text, strlen(text), "c", &controls, why, sizeof why)) << why;
    watch_chosen_keys();
    ASSERT_TRUE(keys_chosen);
    const struct { std::initializer_list<int> down; const char *keys; } cases[] = {
        {{KEY_X}, "A"}, {{KEY_ALT}, "-"}, {{KEY_Z, KEY_RIGHT}, "RC"}, {{KEY_LCONTROL}, "-"},
        {{KEY_Q}, "X"}, {{KEY_ESC}, "X"}, {{KEY_LCONTROL, KEY_RCONTROL, KEY_E}, "CKE"},
    };
    for (const auto &c : cases) {
        for (int k : c.down)
            set_key_down(k, true);
        HeldKeys held = next_frame_keys();
        EXPECT_EQ(keys_text(held), c.keys);
        apply_held_keys(held);
        EXPECT_EQ(key[KEY_ALT] != 0, c.keys[0] == 'A'); // what the rules read
        for (int k : c.down)
            set_key_down(k, false);
    }
    // The pad's shoot button moved too.
    gamepad_present = true;
    joy[0] = xbox_pad();
    joy[0].button[2].b = 1;
    EXPECT_EQ(keys_text(next_frame_keys()), "A");
    joy[0].button[2].b = 0;
    gamepad_present = false;
    // Before an editor: key[] is the keyboard as it is.
    set_key_down(KEY_X, true);
    apply_held_keys(next_frame_keys());
    EXPECT_TRUE(key[KEY_ALT]);
    give_keys_back();
    EXPECT_FALSE(key[KEY_ALT]);
    set_key_down(KEY_X, false);
    controls = DEFAULT_CONTROLS;
    watch_chosen_keys();
    EXPECT_FALSE(keys_chosen);
    keyboard_lowlevel_callback = nullptr;
    release_all_input();
}
