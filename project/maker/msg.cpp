#include "project/maker/msg.h"

namespace {
thread_local char t_path[kMsgMaxCharsPath + 1];
thread_local char t_text[kMsgMaxCharsText + 1];
}  // namespace

char* MSG_GetStr4Path() { return t_path; }
char* MSG_GetStr4Text() { return t_text; }
int MSG_MaxChars4Path() { return kMsgMaxCharsPath; }
int MSG_MaxChars4Text() { return kMsgMaxCharsText; }
