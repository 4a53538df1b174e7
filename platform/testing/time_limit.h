// A limit on how long a test step may take, so that a step that hangs fails
// the test program instead of holding it.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Runs `act` on this thread; ends the test program with a failure naming
// `what` when it has not returned within `limit`.
void WithinTimeLimit(const std::string& what, std::chrono::seconds limit, const std::function<void()>& act);
