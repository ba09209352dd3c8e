#pragma once

#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` passes; returns
// whether `done` held. Tests use it instead of fixed sleeps.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000);
