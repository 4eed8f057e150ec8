// Small helpers for the texts of window fields (UTF-8 in memory).
#pragma once

#include <string>
#include <string_view>

namespace velo {

// The text without leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(std::string_view text);

// True when the text holds nothing but blanks.
bool IsBlankText(std::string_view text);

// The first `count` characters of a UTF-8 text; the file keeps names as
// fixed-width single-byte texts, so longer names could not be kept whole.
std::string CutToCharacters(std::string_view text, int count);

}  // namespace velo
