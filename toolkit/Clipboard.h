// Clipboard text in and out.
#pragma once

#include <string>

// Replaces the clipboard with text; false when the clipboard is held by someone else.
bool SetClipboardText(const std::wstring& text);
std::wstring ClipboardText();
