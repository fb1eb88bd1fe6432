// Standard output as the commands expect it on every system.
#pragma once

namespace vmx {

// Into a pipe or a file, standard output is written in blocks (the commands
// that stream flush each line themselves); on a console, as it comes. glibc
// does this by itself. The Windows C library leaves such a stream unbuffered
// and then writes whatever does not fill a block one byte per system call:
// thousands of calls for one dump under Wine.
void BufferStandardOutput();

}  // namespace vmx
