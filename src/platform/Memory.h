#pragma once

namespace vendalise {

// Keeps the memory the program frees for its own later use instead of
// giving it back to the system at once. Reloading a table of 32767 records
// frees and allocates megabytes each time; on some virtual machines a page
// taken back from the system costs more than the work done in it.
void keepFreedMemory();

} // namespace vendalise
