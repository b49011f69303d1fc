#pragma once
// The message library's text buffers: scratch buffers for one operation at a time, owned by the
// library (one set per thread). The caller never frees them.

constexpr int kMsgMaxCharsPath = 1024;
constexpr int kMsgMaxCharsText = 4096;

// Buffers of MSG_MaxChars4Path() / MSG_MaxChars4Text() characters plus a terminator.
char* MSG_GetStr4Path();
char* MSG_GetStr4Text();
int MSG_MaxChars4Path();
int MSG_MaxChars4Text();
