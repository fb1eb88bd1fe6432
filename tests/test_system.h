// What a test needs of the system around the code it checks, the same on
// Linux and on Windows: environment variables and a folder of its own
// (tests/support/temp_folder.h).
#pragma once

#include <cstdlib>

#include "tests/support/temp_folder.h"

namespace vmx::testing {

inline void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");  // an empty value removes the variable there
#else
  unsetenv(name);
#endif
}

}  // namespace vmx::testing
