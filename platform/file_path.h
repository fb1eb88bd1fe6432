// Paths as the program keeps them, UTF-8 text, for the standard library's file
// calls: on Windows those read a narrow path in the ANSI code page, so the
// text is handed over in UTF-16 there.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace vmx {

std::filesystem::path PathOfText(std::string_view utf8);

// std::fopen of a UTF-8 path; errno says why it failed.
std::FILE* OpenFile(std::string_view utf8, const char* mode);

}  // namespace vmx
