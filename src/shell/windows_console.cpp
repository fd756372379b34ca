// windows_console.cpp -- what the game prints, shown to a Windows player
//
// lamplight.exe is a GUI program: Windows gives it no console, so the usage,
// the version and the one line about a bad file would go nowhere. There,
// standard output and error are kept and, when the game ends, shown in a
// message box if they hold more than the start-up progress line. Everywhere
// else both calls do nothing. (The text is kept in the streams' own buffers:
// moving the descriptors to a file made Wine hang now and then at start-up.)
#include "shell.h"

#ifdef _WIN32
#include <cstdio>
#include <cstring>
#include <string>

extern "C" __declspec(dllimport) int __stdcall MessageBoxA(void *owner, const char *text, const char *caption,
                                                          unsigned type);
static const unsigned MESSAGE_OK_INFORMATION = 0x40;

// Standard output and error are fully buffered in these, zeroed first, so
// that what was printed (and not flushed on purpose) can be read back as
// text at the end. Nothing the game prints comes near their size.
static char kept_output[16384], kept_errors[16384];

void keep_console_output() {
    memset(kept_output, 0, sizeof kept_output);
    memset(kept_errors, 0, sizeof kept_errors);
    setvbuf(stdout, kept_output, _IOFBF, sizeof kept_output - 1);
    setvbuf(stderr, kept_errors, _IOFBF, sizeof kept_errors - 1);
}

// The kept text without the progress line and blank lines.
static std::string message_of(const char *kept) {
    std::string text;
    for (const char *line = kept; *line;) {
        const char *end = strchr(line, '\n');
        size_t length = end ? (size_t)(end - line) : strlen(line);
        if (length > 0 && strncmp(line, "Generating Transparency Table", 29) != 0)
            text.append(line, length).append("\n");
        line += length + (end ? 1 : 0);
    }
    return text;
}

void show_console_output() {
    std::string text = message_of(kept_output) + message_of(kept_errors);
    if (!text.empty())
        MessageBoxA(nullptr, text.c_str(), "lamplight", MESSAGE_OK_INFORMATION);
}
#else
void keep_console_output() {}
void show_console_output() {}
#endif
