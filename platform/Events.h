#pragma once

namespace platform {

// Lets the user interface handle the events waiting for it, from inside a long loop.
void ProcessPendingEvents();

// Shows the screen-wide busy pointer, or restores the default pointer.
void SetBusyPointer(bool busy);

} // namespace platform
