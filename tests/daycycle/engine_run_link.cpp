// test_daycycle runs games with the engine tests' step-by-step runner; it is built
// into this program here, once, for every test file of the folder.
#include "engine/engine_run.cpp"  // NOLINT(bugprone-suspicious-include)
