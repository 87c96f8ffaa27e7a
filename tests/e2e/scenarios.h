// The end-to-end scenario table: rows of actions on the real program and what must then be seen.
#pragma once

struct Scenario {
    const char* group;     // starts a group (from nothing of ours running, no saved state); "" continues it
    const char* actions;   // "; "-separated actions, done in order
    const char* expected;  // "|"-separated expectations, each awaited for up to ten seconds
};

// Ends with a row whose group is nullptr.
extern const Scenario Scenarios[];
