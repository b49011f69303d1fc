#pragma once
// The one channel through which the core talks to a user: message boxes and OK/Cancel or Yes/No
// questions. The desktop program implements it with modal message boxes, the command line with
// stderr, and tests with a script of answers. The core never blocks on a user by itself.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class CMessenger {
public:
    virtual ~CMessenger() = default;
    // Shows `text` with `caption`; returns the user's answer (Ok for a plain message).
    virtual MsgAnswer Show(std::string_view text, std::string_view caption, MsgIcon icon,
                           MsgButtons buttons) = 0;
};

// A message as a test or a log sees it.
struct CShownMessage {
    std::string text;
    std::string caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// Records every message and answers questions from a queue; with the queue empty a question is
// answered with the affirmative button (Ok or Yes).
class CScriptedMessenger final : public CMessenger {
public:
    std::vector<CShownMessage> shown;
    std::deque<MsgAnswer> answers;

    MsgAnswer Show(std::string_view text, std::string_view caption, MsgIcon icon,
                   MsgButtons buttons) override {
        shown.push_back({std::string(text), std::string(caption), icon, buttons});
        if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
        if (!answers.empty()) {
            MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void SetNextAnswer(MsgAnswer a) { answers.push_back(a); }
};
