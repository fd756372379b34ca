// check_command.cpp -- lamplight-world check: the game's world check on the layer files here
#include "world_tool.h"
#include <cstdio>

bool print_report(const WorldReport &report, bool strict) {
    for (const std::string &line : report.problems)
        printf("%s\n", line.c_str());
    for (const std::string &line : report.warnings)
        printf("%s\n", line.c_str());
    return report.problems.empty() && (!strict || report.warnings.empty());
}

int check_command(bool strict) {
    World world;
    if (!load_world(world))
        return 1;
    WorldReport report = check_world(world);
    bool passed = print_report(report, strict);
    if (passed)
        printf("ok: %dx%d tiles, no problems%s\n", world.layer[0]->w, world.layer[0]->h,
               report.warnings.empty() ? "" : " (see the warnings)");
    free_world(world);
    return passed ? 0 : 1;
}
