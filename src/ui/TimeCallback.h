#pragma once

#include <functional>

class QObject;

// Periodic time callbacks of a window, keyed by (window, id). They run on
// the user-interface thread from the window's event loop. A callback belongs
// to its window: destroying the window removes its callbacks.

// Calls fn every periodMs milliseconds (at least 0, which means "as soon as
// the event loop is idle", repeatedly) until killed. Replaces the callback
// with the same key, if any. Does nothing without a window or a function.
void SetTimeCallback(QObject* window, int id, int periodMs, std::function<void()> fn);

// Stops the callback with this key, if any. Safe from within the callback
// itself, which then finishes its current run.
void KillTimeCallback(QObject* window, int id);

// Stops every callback of the window.
void KillTimeCallbacks(QObject* window);

bool ExistsTimeCallback(QObject* window, int id);
