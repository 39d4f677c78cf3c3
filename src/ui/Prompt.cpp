#include "ui/Prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/Translate.h"

namespace {

PromptHandler& Handler()
{
    static PromptHandler handler;
    return handler;
}

PromptAnswer& Answer()
{
    static PromptAnswer answer;
    return answer;
}

QMessageBox::Icon BoxIcon(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Exclamation: return QMessageBox::Warning;
    case PromptKind::Question: return QMessageBox::Question;
    case PromptKind::Information: break;
    }
    return QMessageBox::Information;
}

// Shows the prompt and gives the index of the button pressed, or `closed`.
int Show(const PromptRequest& request, int closed = 0)
{
    if (Handler()) {
        Handler()(request);
        return Answer() ? Answer()(request) : closed;
    }
    QMessageBox box(BoxIcon(request.kind),
                    request.title.empty() ? QApplication::applicationName() : QString::fromStdString(request.title),
                    QString::fromStdString(request.text).trimmed(), QMessageBox::NoButton,
                    QApplication::activeWindow());
    std::vector<QAbstractButton*> buttons;
    if (request.buttons.empty())
        buttons.push_back(box.addButton(QString::fromUtf8(Translate("OK")), QMessageBox::AcceptRole));
    for (const std::string& text : request.buttons)
        buttons.push_back(box.addButton(QString::fromStdString(text), QMessageBox::ActionRole));
    box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    if (request.kind == PromptKind::Exclamation)
        QApplication::beep();
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return static_cast<int>(i);
    return closed;
}

}  // namespace

PromptHandler SetPromptHandler(PromptHandler handler)
{
    PromptHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

PromptAnswer SetPromptAnswer(PromptAnswer answer)
{
    PromptAnswer previous = std::move(Answer());
    Answer() = std::move(answer);
    return previous;
}

int Question(const std::string& text, const std::vector<std::string>& buttons, int closed, const std::string& title)
{
    return Show({.kind = PromptKind::Question, .title = title, .text = text, .buttons = buttons}, closed);
}

void PromptOK(const std::string& text) { Show({PromptKind::Information, {}, text}); }

void Exclamation(const std::string& text, const std::string& title) { Show({PromptKind::Exclamation, title, text}); }
