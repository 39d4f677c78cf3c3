#pragma once

// A library database in a temporary folder with its tables, bound to the default
// cursor as the program has it while the window lives; message boxes are captured
// and file selectors answered by the test instead of being shown.

#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "support/TempDir.h"
#include "ui/FileSelector.h"
#include "ui/PlayerTexts.h"
#include "ui/Prompt.h"

class LibraryFixture : public testing::Test {
protected:
    void SetUp() override
    {
        language = GetCurrentLanguage();
        playerTexts = IsTranslationModuleEnabled(PlayerTexts());
        ASSERT_TRUE(session.Open(dir.File("QuillonPlayer.db3")));
        ASSERT_TRUE(CreateLibraryTables(session));
        binding.emplace(session);
        previousPrompt = SetPromptHandler([this](const PromptRequest& request) {
            prompts.push_back(request.text);
            promptRequests.push_back(request);
            promptDetails.push_back(request.details);
        });
        previousSelect = SetFileSelectHandler([this](FileSelectRequest& request) -> FileSelectAnswer {
            requests.push_back(request);
            if (answers.empty())
                return std::nullopt;
            FileSelectAnswer answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
    }

    // Derived fixtures drop what uses the database first, then call this.
    void TearDown() override
    {
        SetFileSelectHandler(previousSelect);
        SetPromptHandler(previousPrompt);
        binding.reset();
        // A test that switched the language leaves the next one as it found it.
        SetLanguage(language);
        EnableTranslationModule(PlayerTexts(), playerTexts);
    }

    // The next selector run answers these paths (none: the user cancels).
    void Answer(FileSelectAnswer paths) { answers.push_back(std::move(paths)); }

    // Every row of a query, each as text cells joined by "|".
    std::vector<String> Query(const String& statement)
    {
        Sql cursor(session);
        std::vector<String> rows;
        if (!cursor.Execute(statement))
            ADD_FAILURE() << "query failed: " << statement << ": " << session.GetLastError();
        while (cursor.Fetch()) {
            String row;
            for (int i = 0; i < cursor.GetColumnCount(); ++i)
                row += (i ? "|" : "") + (cursor[i].IsVoid() ? String("<null>") : cursor[i].ToString());
            rows.push_back(row);
        }
        return rows;
    }

    TempDir dir;
    Sqlite3Session session;
    std::optional<SqlBinding> binding;
    std::vector<String> prompts;
    std::vector<PromptRequest> promptRequests;  // the same prompts with their buttons
    std::vector<String> promptDetails;  // the copyable list of each prompt, empty for none
    std::vector<FileSelectRequest> requests;
    std::vector<FileSelectAnswer> answers;

private:
    PromptHandler previousPrompt;
    FileSelectHandler previousSelect;
    uint32_t language = 0;
    bool playerTexts = false;
};
