// gamepad_device.cpp -- which joystick device is a gamepad: named and counted before the library opens them
#include "shell_gamepad.h"
#include <cstring>
#include <cctype>
#ifdef __linux__
#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

// Names that joystick devices which are not pads give themselves.
static const char *const sensor_words[] = {"accelerometer", "motion sensor", " imu"};

bool looks_like_gamepad(const PadDevice &device) {
    if (device.buttons <= 0)
        return false;
    char name[sizeof device.name];
    for (size_t i = 0; i < sizeof name; i++)
        name[i] = (char)tolower((unsigned char)device.name[i]);
    for (const char *word : sensor_words)
        if (strstr(name, word))
            return false;
    return true;
}

#ifdef __linux__
// Device `n` where the library looks for it (/dev/input/jsN, else
// /dev/jsN); false when neither opens.
static bool probe_device(int n, PadDevice *device) {
    const char *const forms[] = {"/dev/input/js%d", "/dev/js%d"};
    for (const char *form : forms) {
        snprintf(device->path, sizeof device->path, form, n);
        int fd = open(device->path, O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            continue;
        unsigned char buttons = 0;
        if (ioctl(fd, JSIOCGNAME(sizeof device->name), device->name) < 0)
            strcpy(device->name, "unnamed");
        device->name[sizeof device->name - 1] = '\0';
        ioctl(fd, JSIOCGBUTTONS, &buttons);
        device->buttons = buttons;
        close(fd);
        return true;
    }
    return false;
}
#endif

int choose_gamepad(FILE *out) {
    int chosen = -1;
#ifdef __linux__
    PadDevice device;
    for (int n = 0; n < MAX_JOYSTICKS && probe_device(n, &device); n++) {
        bool pad = chosen < 0 && looks_like_gamepad(device);
        if (pad)
            chosen = n;
        if (out)
            fprintf(out, "# %s %s \"%s\"%s\n", pad ? "gamepad in use:" : "ignored:", device.path, device.name,
                    pad || chosen >= 0 ? "" : " (not a gamepad)");
    }
#else
    chosen = 0; // the library's first joystick
    if (out)
        fputs("# gamepad in use: the first joystick, if any\n", out);
#endif
    if (out && chosen < 0)
        fputs("# gamepad in use: none\n", out);
    return chosen;
}
