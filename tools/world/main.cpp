// main.cpp -- lamplight-world: build, dump, check and render a world's layer files
#include "world_tool.h"
#include "map.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

static void usage(FILE *to) {
    fprintf(to,
            "usage: lamplight-world [-C DIR] COMMAND\n"
            "  build [--force] SOURCE_DIR  the text source to map.map, obj.map and mob.map; runs every\n"
            "                              check first and writes nothing on a problem (--force: writes anyway)\n"
            "  dump SOURCE_DIR             map.map, obj.map and mob.map back to the text source\n"
            "  check [--strict]            validate the layer files; one line per problem or warning\n"
            "                              (warnings fail the check only with --strict)\n"
            "  render [--reach] OUT.png    draw the whole world with the art of data.dat and monster.dat\n"
            "                              (--reach: what the player cannot reach shaded)\n"
            "  route                       the order of rooms and items that finishes the world\n"
            "  export-tiled OUT_DIR        the world as a Tiled map, OUT_DIR/world.tmx, with tilesets of the art\n"
            "  import-tiled [--force] MAP  a map Tiled saved (.tmx, .tmj) to the layer files, after every check\n"
            "  --help, -h                  this text\n"
            "  --version                   the version of the tool\n"
            "The layer files (and datafiles) are those of the current folder, or of DIR.\n");
}

// The command line, taken apart: the command, its one argument, its flag.
struct Command {
    std::string name, argument;
    bool flag = false; // --force for build and import-tiled, --strict for check, --reach for render
};

// Reads COMMAND [FLAG] [ARGUMENT] from argv[arg..]; false on a usage error.
static bool parse_command(int argc, char **argv, int arg, Command &c) {
    if (arg >= argc)
        return false;
    c.name = argv[arg++];
    const char *flag = c.name == "build" || c.name == "import-tiled" ? "--force"
                       : c.name == "check"                            ? "--strict"
                       : c.name == "render"                           ? "--reach"
                                                                      : nullptr;
    if (flag && arg < argc && strcmp(argv[arg], flag) == 0) {
        c.flag = true;
        arg++;
    }
    bool takes_argument = c.name == "build" || c.name == "dump" || c.name == "render" || c.name == "export-tiled" ||
                          c.name == "import-tiled";
    if (!takes_argument && c.name != "check" && c.name != "route")
        return false;
    if (takes_argument) {
        if (arg >= argc || argv[arg][0] == '-')
            return false;
        c.argument = argv[arg++];
    }
    return arg == argc;
}

int main(int argc, char **argv) {
    int arg = 1;
    if (arg < argc && (strcmp(argv[arg], "--help") == 0 || strcmp(argv[arg], "-h") == 0)) {
        usage(stdout);
        return 0;
    }
    if (arg + 1 < argc && strcmp(argv[arg], "-C") == 0) {
        if (chdir(argv[arg + 1]) != 0) {
            fprintf(stderr, "lamplight-world: cannot enter %s (%s)\n", argv[arg + 1], strerror(errno));
            return 2;
        }
        arg += 2;
    }
    Command command;
    if (arg < argc && (strcmp(argv[arg], "--help") == 0 || strcmp(argv[arg], "-h") == 0)) {
        usage(stdout);
        return 0;
    }
    if (arg + 1 == argc && strcmp(argv[arg], "--version") == 0) {
        printf("lamplight-world %s\n", LAMPLIGHT_VERSION);
        return 0;
    }
    if (!parse_command(argc, argv, arg, command)) {
        usage(stderr);
        return 2;
    }
    // Headless: no display is needed for any command.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "lamplight-world: Allegro cannot start\n");
        return 2;
    }
    set_color_depth(8);
    if (command.name == "build")
        return build_command(command.argument, command.flag);
    if (command.name == "dump")
        return dump_command(command.argument);
    if (command.name == "render")
        return render_command(command.argument, command.flag);
    if (command.name == "route")
        return route_command();
    if (command.name == "export-tiled")
        return export_tiled_command(command.argument);
    if (command.name == "import-tiled")
        return import_tiled_command(command.argument, command.flag);
    return check_command(command.flag);
}
