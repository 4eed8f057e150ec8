// Text clipboard of the desktop.
#pragma once

#include <string>

namespace velo {

void SetClipboardText(const std::string& text);
std::string ClipboardText();

}  // namespace velo
