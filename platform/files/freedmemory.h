#pragma once

namespace FreedMemory {

// Gives the memory that every thread's heap holds free back to the system. Called by threads
// that make large temporaries (whole files, indexes of a large complex) once they are done:
// the heap of a thread of its own keeps them otherwise, to the program's lasting size.
void giveBack();

} // namespace FreedMemory
