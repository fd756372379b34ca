// follow.h -- playing the world check's plan to the goal in the headless game
#pragma once
#include "checks.h"
#include <vector>

// Plays `steps` (the reach proof's plan) in the headless game already
// started, at most `frame_limit` frames, the keys of each frame going
// through the input seam (and into a recording in progress). Returns why
// the run ended, as the end line says it ("goal", "died", or "input-ended"
// when the plan or the frames ran out first); *failed_step is the step that
// could not be done, or -1.
const char *follow_plan(const std::vector<PlanStep> &steps, int frame_limit, int *failed_step);
