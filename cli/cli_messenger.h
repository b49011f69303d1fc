#pragma once
// Messages of the core on the command line: each one becomes one line on stderr; questions are
// answered without asking, with the answer chosen by the --answer option (affirmative by default).

#include <ostream>
#include <string>

#include "project/messages.h"

class CCliMessenger final : public CMessenger {
public:
    explicit CCliMessenger(std::ostream& err) : m_err(err) {}
    bool affirmative = true;  // Ok/Yes for questions, else Cancel/No

    MsgAnswer Show(std::string_view text, std::string_view caption, MsgIcon icon, MsgButtons buttons) override;

private:
    std::ostream& m_err;
};
