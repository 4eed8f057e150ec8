// How the core tells the user something or asks a question. The core never
// shows a dialog itself: the program passes an implementation (message
// boxes in the window program, stderr in the command-line tool, a recorder
// in tests).
#pragma once

#include <string>

namespace velo {

enum class MessageIcon { Error, Warning, Question, Information };

enum class ThreeWayAnswer { Yes, No, Cancel };

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void Show(MessageIcon icon, const std::string& text) = 0;
    // A message under a title of its own instead of the product name.
    virtual void ShowTitled(MessageIcon icon, const std::string& title, const std::string& text) {
        (void)title;
        Show(icon, text);
    }
    // A Yes/No question; true means Yes.
    virtual bool AskYesNo(MessageIcon icon, const std::string& text) = 0;
    // A Yes/No/Cancel question ("save changes?"). Programs that can show
    // three buttons override it; the default asks Yes/No and never cancels.
    virtual ThreeWayAnswer AskThreeWay(MessageIcon icon, const std::string& text) {
        return AskYesNo(icon, text) ? ThreeWayAnswer::Yes : ThreeWayAnswer::No;
    }
};

// Says nothing and answers every question with `answer`.
class SilentMessenger final : public Messenger {
public:
    explicit SilentMessenger(bool answer = false) : answer_(answer) {}
    void Show(MessageIcon, const std::string&) override {}
    bool AskYesNo(MessageIcon, const std::string&) override { return answer_; }

private:
    bool answer_;
};

}  // namespace velo
