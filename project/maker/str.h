#pragma once
#include <string_view>

// Non-zero when the text is empty or holds only blanks (spaces and tabs).
int STR_IsBlank(std::string_view text);
