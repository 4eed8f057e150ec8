// Windows-1251, the single-byte code page of the file's fixed texts, and
// UTF-8, the form of every text in memory.
#pragma once

#include <string>

namespace velo {

// Each character becomes one byte; a character that Windows-1251 cannot
// hold, and every malformed UTF-8 sequence, becomes "?".
std::string Utf8ToCp1251(const std::string& utf8);

// Every byte has a character, so decoding and encoding again gives the
// same bytes (0x98, unassigned in the code page, stands for U+0098).
std::string Cp1251ToUtf8(const std::string& bytes);

}  // namespace velo
