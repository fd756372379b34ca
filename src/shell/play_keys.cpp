// play_keys.cpp -- the keys play reads: their library codes, key[] and their letters in recordings
#include "shell_input.h"
#include <allegro.h>

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

int play_key_code(int play_key) { return play_keys[play_key].key_code; }

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
