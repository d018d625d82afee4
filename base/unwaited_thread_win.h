#pragma once

#include <functional>

// Runs the work on a thread of its own that nobody waits for, as work that may wait on a drive
// for ever must be; raises ErrorCreating when the system gives no thread.
void StartUnwaitedThread(std::function<void()> work);
