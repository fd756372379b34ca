// controls.cpp -- controls.cfg: the keys and pad buttons bound to each action, read, checked and printed
#include "shell_controls.h"
#include "files.h"
#include <allegro.h>
#include <allegro/internal/aintern.h> // _keyboard_common_names: the key-name table
#include <cstring>
#include <strings.h>
#include <string>
#include <vector>
#include <cerrno>
#include <sys/stat.h>

const Controls DEFAULT_CONTROLS = { // the game's own keys and the usual pad layout
    {{KEY_LEFT, 0}, {KEY_RIGHT, 0}, {KEY_UP, 0}, {KEY_DOWN, 0},
     {KEY_ALT, 0}, {KEY_SPACE, 0}, {KEY_LCONTROL, 0}, {0, 0}},
    0, 1, 4, {6, 7}};
Controls controls = DEFAULT_CONTROLS; // the mapping in use
const char CONTROLS_FILE[] = "controls.cfg"; // read from the run folder

// Each action: its name in the file and the play key it stands for.
struct ActionInfo {
    const char *name;
    int play_key;
};
static const ActionInfo actions[ACTION_COUNT] = {
    {"left", PLAY_LEFT}, {"right", PLAY_RIGHT}, {"up", PLAY_UP}, {"down", PLAY_DOWN},
    {"shoot", PLAY_ALT}, {"bomb", PLAY_SPACE}, {"ghost", PLAY_LCONTROL}, {"quit", PLAY_ESC}};

// The largest controls file read: a few hundred bytes is usual.
static const long MAX_CONTROLS_BYTES = 64 * 1024;
// Pad buttons are numbered 0..MAX_JOYSTICK_BUTTONS-1.
static const int PAD_ACTION_COUNT = 4; // shoot, bomb, ghost, quit

int action_play_key(int action) { return actions[action].play_key; }
const char *action_name(int action) { return actions[action].name; }

int key_code_of_name(const char *name) {
    for (int code = 1; code < KEY_MAX; code++)
        if (_keyboard_common_names[code] && strcasecmp(_keyboard_common_names[code], name) == 0)
            return code;
    return 0;
}

const char *key_name_of_code(int code) { return _keyboard_common_names[code]; }

bool keys_are_default(const Controls &c) { return memcmp(c.keys, DEFAULT_CONTROLS.keys, sizeof c.keys) == 0; }

// --- Where each setting stands in the text ---

// One `name = value` line: its section, its name and its line number.
struct SettingLine {
    std::string section, name;
    int line;
};

static std::string trimmed(const std::string &s) {
    size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

static std::string lower(std::string s) {
    for (char &c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

// Every setting's line, or the first line that is none of a blank, a
// comment, a known section's head or a setting inside one (0 when all are).
static int scan_lines(const char *text, size_t size, std::vector<SettingLine> &settings, std::string &what) {
    std::string section;
    size_t at = 0;
    for (int n = 1; at < size; n++) {
        size_t end = at;
        while (end < size && text[end] != '\n')
            end++;
        std::string line = trimmed(std::string(text + at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            section = lower(line);
            if (section != "[keys]" && section != "[gamepad]") {
                what = "unknown section " + line + " (there are [keys] and [gamepad])";
                return n;
            }
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || trimmed(line.substr(0, eq)).empty()) {
            what = "not a setting: \"" + line + "\" (write ACTION = KEY)";
            return n;
        }
        if (section.empty()) {
            what = "a setting before [keys] or [gamepad]";
            return n;
        }
        std::string name = lower(trimmed(line.substr(0, eq)));
        for (const SettingLine &s : settings)
            if (s.section == section && s.name == name) {
                what = name + " is set twice in " + section;
                return n;
            }
        settings.push_back({section, name, n});
    }
    return 0;
}

static int line_of(const std::vector<SettingLine> &settings, const char *section, const std::string &name) {
    for (const SettingLine &s : settings)
        if (s.section == section && s.name == name)
            return s.line;
    return 0;
}

// --- The values, read through the library's configuration ---

// Splits "A, B" into trimmed parts.
static std::vector<std::string> parts_of(const char *value) {
    std::vector<std::string> parts;
    std::string v = value;
    size_t at = 0;
    while (true) {
        size_t comma = v.find(',', at);
        parts.push_back(trimmed(v.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
        if (comma == std::string::npos)
            return parts;
        at = comma + 1;
    }
}

// The keys of one action's value; false with what is wrong.
static bool read_keys(int action, const char *value, int keys[KEYS_PER_ACTION], std::string &what) {
    keys[0] = keys[1] = 0;
    int n = 0;
    for (const std::string &part : parts_of(value)) {
        int code = key_code_of_name(part.c_str());
        if (part.empty() || code == 0) {
            what = part.empty() ? std::string(action_name(action)) + " names no key"
                                : "unknown key \"" + part + "\" (keys are named like X, SPACE, LCONTROL, 0 PAD)";
            return false;
        }
        if (code == KEY_E || code == KEY_O || code == KEY_M) {
            what = part + " opens an editor with both Control keys: choose another key for " + action_name(action);
            return false;
        }
        if (code == KEY_ESC) {
            if (action == ACTION_QUIT)
                continue; // Esc ends the game anyway
            what = std::string("ESC ends the game: it cannot be ") + action_name(action);
            return false;
        }
        if (n == KEYS_PER_ACTION) {
            what = std::string("at most two keys for ") + action_name(action);
            return false;
        }
        keys[n++] = code;
    }
    return true;
}

// A gamepad button number, 0..MAX_JOYSTICK_BUTTONS-1, or -1.
static int button_of(const std::string &part) {
    if (part.empty() || part.size() > 2 || part.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    int b = atoi(part.c_str());
    return b < MAX_JOYSTICK_BUTTONS ? b : -1;
}

static bool read_pad_entry(const std::string &name, const char *value, Controls *out, std::string &what) {
    static const char *const names[PAD_ACTION_COUNT] = {"shoot", "bomb", "ghost", "quit"};
    int *targets[PAD_ACTION_COUNT] = {&out->pad_shoot, &out->pad_bomb, &out->pad_ghost, out->pad_quit};
    for (int i = 0; i < PAD_ACTION_COUNT; i++) {
        if (name != names[i])
            continue;
        std::vector<std::string> parts = parts_of(value);
        bool good = parts.size() == (i == 3 ? 2u : 1u);
        for (size_t p = 0; good && p < parts.size(); p++)
            good = (targets[i][p] = button_of(parts[p])) >= 0;
        if (!good)
            what = i == 3 ? "quit names two buttons held together, like 6, 7"
                          : name + " names one button, a number 0.." + std::to_string(MAX_JOYSTICK_BUTTONS - 1);
        return good;
    }
    what = "unknown gamepad action \"" + name + "\" (there are shoot, bomb, ghost, quit)";
    return false;
}

static int action_of(const std::string &name) {
    for (int a = 0; a < ACTION_COUNT; a++)
        if (name == actions[a].name)
            return a;
    return -1;
}

// A key bound to two actions: the line of the later one the file names.
static bool find_shared_key(const Controls &c, const std::vector<SettingLine> &settings, int *line,
                            std::string &what) {
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int b = a + 1; b < ACTION_COUNT; b++)
            for (int i = 0; i < KEYS_PER_ACTION; i++)
                for (int j = 0; j < KEYS_PER_ACTION; j++)
                    if (c.keys[a][i] && c.keys[a][i] == c.keys[b][j]) {
                        int la = line_of(settings, "[keys]", action_name(a));
                        int lb = line_of(settings, "[keys]", action_name(b));
                        *line = la > lb ? la : lb;
                        what = std::string(key_name_of_code(c.keys[a][i])) + " is bound to both " + action_name(a) +
                               " and " + action_name(b);
                        return true;
                    }
    return false;
}

// Reads the values of the library's current configuration into `out`.
static bool read_config(const std::vector<SettingLine> &settings, Controls *out, int *line, std::string &what) {
    for (const SettingLine &s : settings) {
        const char *section = s.section == "[keys]" ? "keys" : "gamepad";
        const char *value = get_config_string(section, s.name.c_str(), "");
        *line = s.line;
        if (s.section == "[gamepad]") {
            if (!read_pad_entry(s.name, value, out, what))
                return false;
            continue;
        }
        int action = action_of(s.name);
        if (action < 0) {
            what = "unknown action \"" + s.name + "\" (there are left, right, up, down, shoot, bomb, ghost, quit)";
            return false;
        }
        if (!read_keys(action, value, out->keys[action], what))
            return false;
    }
    return !find_shared_key(*out, settings, line, what);
}

bool parse_controls(const char *text, size_t size, const char *file, Controls *out, char *why, size_t why_size) {
    *out = DEFAULT_CONTROLS;
    std::vector<SettingLine> settings;
    std::string what;
    int line = scan_lines(text, size, settings, what);
    if (line == 0) {
        push_config_state(); // the library's own settings (sound, patches) stay as they were
        set_config_data(text, (int)size);
        if (read_config(settings, out, &line, what))
            line = 0;
        pop_config_state();
    }
    if (line != 0)
        snprintf(why, why_size, "%s: line %d: %s", file, line, what.c_str());
    return line == 0;
}

bool load_controls(const char *file) {
    std::vector<unsigned char> bytes;
    char why[300];
    if (!read_input_file(file, MAX_CONTROLS_BYTES, bytes, why, sizeof why)) {
        struct stat st;
        if (stat(file, &st) != 0 && errno == ENOENT)
            return true; // no file: the game's own keys
        fprintf(stderr, "%s: %s\n", file, why);
        return false;
    }
    Controls read;
    if (!parse_controls((const char *)bytes.data(), bytes.size(), file, &read, why, sizeof why)) {
        fprintf(stderr, "%s\n", why);
        return false;
    }
    controls = read;
    return true;
}

// --- Printing ---

static const char controls_head[] =
    "# controls.cfg -- the keys and gamepad buttons of play, read when the game starts.\n"
    "# One or two keys an action, separated by a comma, named as Allegro names\n"
    "# them: A..Z, 0..9, LEFT, RIGHT, UP, DOWN, SPACE, ENTER, TAB, LSHIFT, RSHIFT,\n"
    "# LCONTROL, RCONTROL, ALT, ALTGR, 0 PAD..9 PAD, F1..F12. Esc always ends the\n"
    "# game; quit adds keys beside it. E, O and M belong to the editors.\n";

void print_controls(FILE *out, const Controls &c) {
    fputs(controls_head, out);
    fputs("[keys]\n", out);
    for (int a = 0; a < ACTION_COUNT; a++) {
        fprintf(out, "%s = ", action_name(a));
        const char *sep = "";
        if (a == ACTION_QUIT) {
            fputs("ESC", out);
            sep = ", ";
        }
        for (int k = 0; k < KEYS_PER_ACTION; k++)
            if (c.keys[a][k]) {
                fprintf(out, "%s%s", sep, key_name_of_code(c.keys[a][k]));
                sep = ", ";
            }
        fputc('\n', out);
    }
    fprintf(out, "[gamepad]\nshoot = %d\nbomb = %d\nghost = %d\nquit = %d, %d\n", c.pad_shoot, c.pad_bomb,
            c.pad_ghost, c.pad_quit[0], c.pad_quit[1]);
}
