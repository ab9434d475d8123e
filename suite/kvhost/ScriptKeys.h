// Names of keys, shift states and modal results as scripts and transcripts write them.
#pragma once

#include <string>

#include "platform/core/Persistent.h"
#include "platform/ui/Controls.h"

namespace kv {

// "Enter", "Esc", "Tab", "F1".."F12", "PageUp", "Left", "Delete", ... (letter case ignored),
// a single letter or digit ("V", "7"), or a number (the virtual key code). Raises
// EConvertError for an unknown name.
Word ScriptKey(const std::string& name);
// "ctrl+alt", "Shift" (any order and case, "+" or "," between them; "" for none).
TShiftState ScriptShift(const std::string& text);
// "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No", "All", "NoToAll", "YesToAll",
// "None" (letter case ignored).
TModalResult ScriptModalResult(const std::string& name);
// The name of a modal result, or its number as text.
std::string ModalResultName(TModalResult result);

}  // namespace kv
