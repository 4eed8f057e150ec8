// Message boxes of the window program: every message and question of the
// core and of the windows goes through here, titled with the product name.
// Tests switch the messenger to scripted answers so that no real dialog
// ever opens; every shown text is then recorded for inspection.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "model/messages.h"

class QWidget;

namespace velo {

// The product name: the title of every message box.
inline constexpr const char* ProductName = "Velocitronimatics";

using Answer = ThreeWayAnswer;

class QtMessenger final : public Messenger {
public:
    explicit QtMessenger(QWidget* parent = nullptr) : parent_(parent) {}

    void Show(MessageIcon icon, const std::string& text) override;
    void ShowTitled(MessageIcon icon, const std::string& title, const std::string& text) override;
    bool AskYesNo(MessageIcon icon, const std::string& text) override;
    // The three-way question of the file commands ("save changes?").
    ThreeWayAnswer AskThreeWay(MessageIcon icon, const std::string& text) override;

    void SetParent(QWidget* parent) { parent_ = parent; }

    // Scripted mode: no dialog is shown; questions take their answers from
    // the queue (the default answer when it is empty) and every text is
    // recorded.
    struct Record {
        MessageIcon Icon;
        std::string Text;
        bool Question;
        std::string Title = ProductName;
    };
    void UseScriptedAnswers(Answer defaultAnswer = Answer::No);
    void QueueAnswer(Answer answer) { queued_.push_back(answer); }
    bool Scripted() const { return scripted_; }
    const std::vector<Record>& Records() const { return records_; }
    void ClearRecords() { records_.clear(); }

private:
    Answer NextScripted();

    QWidget* parent_;
    bool scripted_ = false;
    Answer defaultAnswer_ = Answer::No;
    std::deque<Answer> queued_;
    std::vector<Record> records_;
};

}  // namespace velo
