// Files as a test writes and reads them: plainly, bypassing the program's
// own careful file routines that the tests check.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace vmx::testing {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace vmx::testing
