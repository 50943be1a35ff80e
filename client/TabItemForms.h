// Tab forms (kind 10) made from what a controller knows about a tab,
// without a recording: its text (empty for a tab control whose tabs carry
// none), its index and its image; text and image asked for, the usual
// 256-character text buffer.
#pragma once
#include <string>

#include "client/LocatorForm.h"

LocatorForm TabItemForm(const std::string& text, int index, int image);
