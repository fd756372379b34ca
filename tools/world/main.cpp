// main.cpp -- lamplight-world: build, dump, check and render a world's layer files
#include "world_tool.h"
#include "layers.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

static void usage() {
    fprintf(stderr,
            "usage: lamplight-world [-C DIR] COMMAND\n"
            "  build SOURCE_DIR   the text source to map.map, obj.map and mob.map\n"
            "  dump SOURCE_DIR    map.map, obj.map and mob.map back to the text source\n"
            "  check              validate the layer files; one line per problem\n"
            "  render OUT.png     draw the whole world with the art of data.dat and monster.dat\n"
            "The layer files (and datafiles) are those of the current folder, or of DIR.\n");
}

bool load_world(World &world) {
    bool ok = true;
    for (int i = 0; i < 3; i++) {
        world.layer[i] = load_layer(layer_file_name(i), palette);
        if (!world.layer[i]) {
            printf("%s: %s\n", layer_file_name(i), layer_error);
            ok = false;
        }
    }
    if (!ok)
        free_world(world);
    return ok;
}

void free_world(World &world) {
    for (BITMAP *&b : world.layer) {
        if (b)
            destroy_bitmap(b);
        b = nullptr;
    }
}

void content_box(const World &world, int &x0, int &y0, int &x1, int &y1) {
    BITMAP *t = world.layer[0];
    x0 = t->w;
    y0 = t->h;
    x1 = y1 = -1;
    for (int y = 0; y < t->h; y++)
        for (int x = 0; x < t->w; x++) {
            bool empty = true;
            for (BITMAP *b : world.layer)
                empty = empty && getpixel(b, x, y) <= 0;
            if (empty)
                continue;
            x0 = x < x0 ? x : x0;
            y0 = y < y0 ? y : y0;
            x1 = x > x1 ? x : x1;
            y1 = y > y1 ? y : y1;
        }
    if (x1 < 0) {
        x0 = y0 = 0;
        x1 = t->w - 1;
        y1 = t->h - 1;
        return;
    }
    x0 = x0 > 0 ? x0 - 1 : 0;
    y0 = y0 > 0 ? y0 - 1 : 0;
    x1 = x1 < t->w - 1 ? x1 + 1 : x1;
    y1 = y1 < t->h - 1 ? y1 + 1 : y1;
}

int main(int argc, char **argv) {
    int arg = 1;
    if (arg + 1 < argc && strcmp(argv[arg], "-C") == 0) {
        if (chdir(argv[arg + 1]) != 0) {
            fprintf(stderr, "lamplight-world: cannot enter %s (%s)\n", argv[arg + 1], strerror(errno));
            return 2;
        }
        arg += 2;
    }
    if (arg >= argc) {
        usage();
        return 2;
    }
    std::string command = argv[arg];
    bool takes_argument = command == "build" || command == "dump" || command == "render";
    if ((takes_argument && arg + 2 != argc) || (command == "check" && arg + 1 != argc) ||
        (!takes_argument && command != "check")) {
        usage();
        return 2;
    }
    // Headless: no display is needed for any command.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "lamplight-world: Allegro cannot start\n");
        return 2;
    }
    set_color_depth(8);
    if (command == "build")
        return build_command(argv[arg + 1]);
    if (command == "dump")
        return dump_command(argv[arg + 1]);
    if (command == "render")
        return render_command(argv[arg + 1]);
    return check_command();
}
