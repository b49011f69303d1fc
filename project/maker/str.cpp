#include "project/maker/str.h"

int STR_IsBlank(std::string_view text) {
    for (char c : text)
        if (c != ' ' && c != '\t') return 0;
    return 1;
}
