#include "ui/Prompt.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/Translate.h"

namespace {

PromptHandler& Handler()
{
    static PromptHandler handler;
    return handler;
}

void Show(const PromptRequest& request)
{
    if (Handler()) {
        Handler()(request);
        return;
    }
    QMessageBox box(request.kind == PromptKind::Exclamation ? QMessageBox::Warning : QMessageBox::Information,
                    request.title.empty() ? QApplication::applicationName() : QString::fromStdString(request.title),
                    QString::fromStdString(request.text).trimmed(), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.addButton(QString::fromUtf8(Translate("OK")), QMessageBox::AcceptRole);
    if (!request.details.empty())
        box.setDetailedText(QString::fromStdString(request.details));
    if (request.kind == PromptKind::Exclamation)
        QApplication::beep();
    box.exec();
}

}  // namespace

PromptHandler SetPromptHandler(PromptHandler handler)
{
    PromptHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void PromptOK(const std::string& text) { Show({PromptKind::Information, {}, text}); }

void PromptDetails(const std::string& text, const std::string& details)
{
    Show({PromptKind::Information, {}, text, details});
}

void Exclamation(const std::string& text, const std::string& title) { Show({PromptKind::Exclamation, title, text}); }
