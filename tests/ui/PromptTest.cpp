#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "ui/Prompt.h"

namespace {

// The paragraphs a box shows, as its rich text lays them out.
std::vector<QString> Paragraphs(const QMessageBox& box)
{
    QTextDocument document;
    document.setHtml(box.text());
    std::vector<QString> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs.push_back(block.text());
    return paragraphs;
}

}  // namespace

TEST(PromptTest, AmpersandStartsANewParagraphAndTheRestShowsAsWritten)
{
    const auto version = MakePromptBox(
        {PromptKind::Information, {}, "You are using an old version of FMOD 00040204&This program requires 00040205\n"});
    EXPECT_EQ(version->textFormat(), Qt::RichText);
    EXPECT_EQ(Paragraphs(*version), (std::vector<QString>{"You are using an old version of FMOD 00040204",
                                                          "This program requires 00040205"}));

    // Markup characters of the box's own format are plain text in a message.
    const auto error = MakePromptBox({PromptKind::Information, {}, "FMOD error! (3) <b>Unsupported</b> file\n"});
    EXPECT_EQ(Paragraphs(*error), (std::vector<QString>{"FMOD error! (3) <b>Unsupported</b> file"}));

    const auto lines = MakePromptBox({PromptKind::Exclamation, {}, "one\ntwo&three"});
    EXPECT_EQ(Paragraphs(*lines), (std::vector<QString>{QString("one") + QChar::LineSeparator + "two", "three"}));
}

TEST(PromptTest, KindsHaveTheirIconTitleAndOneOkButton)
{
    const QString previousName = QApplication::applicationName();
    QApplication::setApplicationName("quillon-player");
    const auto information = MakePromptBox({PromptKind::Information, {}, "Saved"});
    EXPECT_EQ(information->icon(), QMessageBox::Information);
    EXPECT_EQ(information->windowTitle(), "quillon-player");

    const auto warning = MakePromptBox({PromptKind::Exclamation, "player", "Can't create or open database file\n"});
    EXPECT_EQ(warning->icon(), QMessageBox::Warning);
    EXPECT_EQ(warning->windowTitle(), "player");
    ASSERT_EQ(warning->buttons().size(), 1);
    EXPECT_EQ(warning->buttons().front()->text(), "OK");
    QApplication::setApplicationName(previousName);
}
