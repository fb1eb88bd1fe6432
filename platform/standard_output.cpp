#include "platform/standard_output.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#endif

namespace vmx {

void BufferStandardOutput() {
#ifdef _WIN32
  if (!_isatty(_fileno(stdout))) std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
#endif
}

}  // namespace vmx
