#include "cli/cli_messenger.h"

MsgAnswer CCliMessenger::Show(std::string_view text, std::string_view, MsgIcon icon, MsgButtons buttons) {
    // One line per message: the message boxes' line breaks and tabs become single blanks.
    std::string line;
    bool blank = false;
    for (char c : text) {
        if (c == '\n' || c == '\t' || c == '\r') {
            blank = true;
            continue;
        }
        if (blank && !line.empty() && line.back() != ' ') line += ' ';
        blank = false;
        line += c;
    }
    const char* kind = icon == MsgIcon::Error ? "error: " : icon == MsgIcon::Warning ? "warning: " : "";
    m_err << "halvo-cli: " << kind << line;
    MsgAnswer answer = MsgAnswer::Ok;
    if (buttons == MsgButtons::OkCancel) answer = affirmative ? MsgAnswer::Ok : MsgAnswer::Cancel;
    if (buttons == MsgButtons::YesNo) answer = affirmative ? MsgAnswer::Yes : MsgAnswer::No;
    if (buttons != MsgButtons::Ok) m_err << " [answered " << (affirmative ? (buttons == MsgButtons::YesNo ? "Yes" : "OK") : (buttons == MsgButtons::YesNo ? "No" : "Cancel")) << "]";
    m_err << '\n';
    return answer;
}
