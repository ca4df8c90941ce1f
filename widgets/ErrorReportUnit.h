#pragma once

#include <exception>
#include <utility>

// The application's one report of an error: its text in a message box over
// the window the user works in (an open dialog, or else the main window),
// through the modal seam. The application goes on with the state reached.
void ReportError(const std::exception& E);

// Runs Work where the toolkit calls our code (a slot, an event handler, a
// button's click): an error that Work raises stops here and goes to the
// report, and never travels back through the toolkit's own code.
template <typename TWork> void Guarded(TWork&& Work) {
    try {
        std::forward<TWork>(Work)();
    } catch (const std::exception& E) {
        ReportError(E);
    }
}
