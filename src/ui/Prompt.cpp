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

// The messages' own markup: "&" ends a paragraph. Everything else is plain
// text, so it is escaped; a line feed inside a paragraph breaks the line and
// the trailing one of most messages adds nothing.
QString RichText(const std::string& text)
{
    QString html;
    for (const QString& paragraph : QString::fromStdString(text).split(u'&')) {
        QString escaped = paragraph.trimmed().toHtmlEscaped();
        escaped.replace(u'\n', QStringLiteral("<br>"));
        html += QStringLiteral("<p>") + escaped + QStringLiteral("</p>");
    }
    return html;
}

void Show(const PromptRequest& request)
{
    if (Handler()) {
        Handler()(request);
        return;
    }
    const std::unique_ptr<QMessageBox> box = MakePromptBox(request);
    QApplication::beep();
    box->exec();
}

}  // namespace

std::unique_ptr<QMessageBox> MakePromptBox(const PromptRequest& request)
{
    auto box = std::make_unique<QMessageBox>(
        request.kind == PromptKind::Exclamation ? QMessageBox::Warning : QMessageBox::Information,
        request.title.empty() ? QApplication::applicationName() : QString::fromStdString(request.title),
        RichText(request.text), QMessageBox::NoButton, QApplication::activeWindow());
    box->setTextFormat(Qt::RichText);
    box->addButton(QString::fromUtf8(Translate("OK")), QMessageBox::AcceptRole);
    return box;
}

PromptHandler SetPromptHandler(PromptHandler handler)
{
    PromptHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void PromptOK(const std::string& text) { Show({PromptKind::Information, {}, text}); }

void Exclamation(const std::string& text, const std::string& title) { Show({PromptKind::Exclamation, title, text}); }
