/* fake_joystick.c -- a preload library that serves a scripted gamepad as
 * /dev/input/js0, so that the real game can be played by a gamepad on a
 * machine that has none. It answers the joystick ioctls for that device
 * (an Xbox-style pad: 8 axes, 11 buttons) and feeds js_events from the
 * script named by FAKE_JOYSTICK_SCRIPT, one a line:
 *     MILLISECONDS button|axis NUMBER VALUE
 * each written that many milliseconds after the previous one. It names
 * itself FAKE_JOYSTICK_NAME (default "Microsoft X-Box 360 pad"). The script
 * is fed once, into the device as last opened (the game may open it to read
 * its name before the library opens it for good).
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <pthread.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

static int fake_fd = -1;   /* the game's end of the pipe */
static int feed_fd = -1;   /* the script's end */

static void *feed(void *unused) {
    (void)unused;
    const char *name = getenv("FAKE_JOYSTICK_SCRIPT");
    FILE *script = name ? fopen(name, "r") : NULL;
    char kind[16];
    long ms;
    int number, value;
    while (script && fscanf(script, "%ld %15s %d %d", &ms, kind, &number, &value) == 4) {
        struct timespec wait = {ms / 1000, (ms % 1000) * 1000000L};
        nanosleep(&wait, NULL);
        struct js_event e = {(unsigned)(clock() / 1000), (short)value,
                             (unsigned char)(strcmp(kind, "button") ? JS_EVENT_AXIS : JS_EVENT_BUTTON),
                             (unsigned char)number};
        if (write(feed_fd, &e, sizeof e) != sizeof e)
            break;
    }
    if (script)
        fclose(script);
    return NULL; /* the pipe stays open: the pad is still plugged in */
}

static int open_fake(int flags) {
    static int feeding = 0;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    if (flags & O_NONBLOCK)
        fcntl(ends[0], F_SETFL, O_NONBLOCK);
    fake_fd = ends[0];
    feed_fd = ends[1];
    if (!feeding) {
        feeding = 1;
        signal(SIGPIPE, SIG_IGN); /* a device opened and closed again */
        pthread_t thread;
        pthread_create(&thread, NULL, feed, NULL);
        pthread_detach(thread);
    }
    return fake_fd;
}

static int is_pad(const char *path) { return path && strcmp(path, "/dev/input/js0") == 0; }

#define OPEN_WRAPPER(NAME)                                                       \
    int NAME(const char *path, int flags, ...) {                                 \
        static int (*real)(const char *, int, ...);                              \
        if (!real)                                                               \
            real = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, #NAME);     \
        if (is_pad(path))                                                        \
            return open_fake(flags);                                             \
        va_list args;                                                            \
        va_start(args, flags);                                                   \
        int mode = va_arg(args, int);                                            \
        va_end(args);                                                            \
        return real(path, flags, mode);                                          \
    }
OPEN_WRAPPER(open)
OPEN_WRAPPER(open64)

int ioctl(int fd, unsigned long request, ...) {
    static int (*real)(int, unsigned long, ...);
    if (!real)
        real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    if (fd != fake_fd || fd < 0)
        return real(fd, request, arg);
    if (request == JSIOCGVERSION)
        *(unsigned *)arg = 0x020100;
    else if (request == JSIOCGAXES || request == JSIOCGBUTTONS)
        *(unsigned char *)arg = request == JSIOCGAXES ? 8 : 11;
    else if (_IOC_NR(request) == _IOC_NR(JSIOCGNAME(0)) && _IOC_TYPE(request) == 'j') {
        const char *name = getenv("FAKE_JOYSTICK_NAME");
        snprintf((char *)arg, _IOC_SIZE(request), "%s", name ? name : "Microsoft X-Box 360 pad");
        return (int)strlen((char *)arg);
    } else
        return -1;
    return 0;
}
