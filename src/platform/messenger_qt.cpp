#include "platform/messenger_qt.h"

#include <QMessageBox>
#include <QString>

namespace velo {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton Run(QWidget* parent, MessageIcon icon, const std::string& text,
                                QMessageBox::StandardButtons buttons, const char* title = ProductName) {
    QMessageBox box(BoxIcon(icon), QString::fromUtf8(title), QString::fromStdString(text), buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtMessenger::UseScriptedAnswers(Answer defaultAnswer) {
    scripted_ = true;
    defaultAnswer_ = defaultAnswer;
}

Answer QtMessenger::NextScripted() {
    if (queued_.empty()) return defaultAnswer_;
    Answer answer = queued_.front();
    queued_.pop_front();
    return answer;
}

void QtMessenger::Show(MessageIcon icon, const std::string& text) {
    if (scripted_) {
        records_.push_back({icon, text, false});
        return;
    }
    Run(parent_, icon, text, QMessageBox::Ok);
}

void QtMessenger::ShowTitled(MessageIcon icon, const std::string& title, const std::string& text) {
    if (scripted_) {
        records_.push_back({icon, text, false, title});
        return;
    }
    Run(parent_, icon, text, QMessageBox::Ok, title.c_str());
}

bool QtMessenger::AskYesNo(MessageIcon icon, const std::string& text) {
    if (scripted_) {
        records_.push_back({icon, text, true});
        return NextScripted() == Answer::Yes;
    }
    return Run(parent_, icon, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

ThreeWayAnswer QtMessenger::AskThreeWay(MessageIcon icon, const std::string& text) {
    if (scripted_) {
        records_.push_back({icon, text, true});
        return NextScripted();
    }
    switch (Run(parent_, icon, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

}  // namespace velo
