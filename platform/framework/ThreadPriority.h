// How much of the processor a thread asks for.
#pragma once

// Lets the calling thread give way to the program's other threads and to other
// programs (the X server above all) whenever they want the processor: for work done
// ahead of time, which must not slow down what the user is waiting for.
void GiveWayToInteractiveWork();
