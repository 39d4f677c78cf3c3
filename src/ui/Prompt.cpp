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

constexpr const char* kButtonIndex = "promptButtonIndex";

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
    const std::unique_ptr<QMessageBox> box = MakePromptBox(request);
    QApplication::beep();
    box->exec();
    // The box may order its buttons by role; each carries the index it was given.
    const QAbstractButton* clicked = box->clickedButton();
    return clicked ? clicked->property(kButtonIndex).toInt() : closed;
}

}  // namespace

std::unique_ptr<QMessageBox> MakePromptBox(const PromptRequest& request)
{
    auto box = std::make_unique<QMessageBox>(
        BoxIcon(request.kind),
        request.title.empty() ? QApplication::applicationName() : QString::fromStdString(request.title),
        RichText(request.text), QMessageBox::NoButton, QApplication::activeWindow());
    box->setTextFormat(Qt::RichText);
    std::vector<QAbstractButton*> buttons;
    if (request.buttons.empty())
        buttons.push_back(box->addButton(QString::fromUtf8(Translate("OK")), QMessageBox::AcceptRole));
    for (const std::string& text : request.buttons)
        buttons.push_back(box->addButton(QString::fromStdString(text), QMessageBox::ActionRole));
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setProperty(kButtonIndex, static_cast<int>(i));
    box->setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    if (!request.details.empty())
        box->setDetailedText(QString::fromStdString(request.details));
    return box;
}

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

void PromptDetails(const std::string& text, const std::string& details)
{
    Show({PromptKind::Information, {}, text, details});
}

void Exclamation(const std::string& text, const std::string& title) { Show({PromptKind::Exclamation, title, text}); }
