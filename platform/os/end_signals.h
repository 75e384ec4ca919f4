#pragma once
// The signals that ask a program to end: SIGINT (Ctrl-C in a terminal), SIGTERM (kill,
// a logout) and SIGHUP (a closed terminal). The first is only noted, so that the main
// loop can close the main window as its close box does; a second one ends the process
// at once, as that signal does by default; only the first signal's twin, the same
// signal once from the parent (run.sh passes signals on) and once from elsewhere, is
// the same request. A signal the program was started with ignored (nohup, a background
// job) stays ignored.

namespace os {

void CatchEndSignals();
// The first such signal since CatchEndSignals, 0 for none. Safe to poll from any loop.
int EndSignal();
// After the ordinary close: when a signal asked for it, ends the process as that signal
// does by default, so that its parent sees the usual status (130, 143, 129).
// Returns when none came.
void EndAsSignalled();

}  // namespace os
