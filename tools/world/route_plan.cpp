// route_plan.cpp -- lamplight-world route: the order of rooms and items the reach proof found
#include "world_tool.h"
#include "checks.h"
#include <cstdio>

int route_command() {
    World world;
    if (!load_world(world))
        return 1;
    WorldReport report = check_world(world);
    ReachReport reach = reach_of_world(world);
    free_world(world);
    if (!report.problems.empty() || !reach.finishable) {
        print_report(report, false);
        printf("no route: the world cannot be finished\n");
        return 1;
    }
    for (const std::string &line : reach.plan)
        printf("%s\n", line.c_str());
    return 0;
}
