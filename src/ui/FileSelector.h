#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Stream.h"

// What a file or folder selector asks the user. Tests install a handler that
// answers it, so no modal dialog opens.
struct FileSelectRequest {
    enum Kind { OpenFiles, SelectFolder, SaveFile };
    Kind kind = OpenFiles;
    String title;
    String folder;                                     // where the dialog starts; empty: the working folder
    std::vector<std::pair<String, String>> types;      // (name, patterns such as "*.mp3 *.ogg")
    int activeType = 0;
    bool multi = false;
};

// The chosen paths, or none when the user cancelled.
using FileSelectAnswer = std::optional<std::vector<String>>;
// The handler may change request.activeType to the type the user chose.
using FileSelectHandler = std::function<FileSelectAnswer(FileSelectRequest&)>;

// Replaces the handler; an empty one restores the real dialogs. Returns the previous one.
FileSelectHandler SetFileSelectHandler(FileSelectHandler handler);

// What both selectors share: the chosen paths of the last run and the folder
// to start in next time, which they remember across runs of the program.
class SelectorBase {
public:
    int GetCount() const { return static_cast<int>(paths_.size()); }
    const String& operator[](int i) const { return paths_[static_cast<size_t>(i)]; }
    const std::vector<String>& Get() const { return paths_; }

    void ActiveDir(const String& folder) { activeDir_ = folder; }
    const String& GetActiveDir() const { return activeDir_; }

protected:
    bool Execute(FileSelectRequest& request);

    std::vector<String> paths_;
    String activeDir_;
};

// Chooses existing files of the given types.
class FileSelector : public SelectorBase {
public:
    FileSelector& Type(const String& name, const String& patterns);
    // Replaces every type; the chosen type stays when the new list has it.
    FileSelector& Types(const std::vector<std::pair<String, String>>& types);
    FileSelector& Multi(bool multi = true) { multi_ = multi; return *this; }
    bool IsMulti() const { return multi_; }
    int GetActiveType() const { return activeType_; }
    const std::vector<std::pair<String, String>>& GetTypes() const { return types_; }

    // Runs the selector; true when the user chose at least one file.
    bool ExecuteOpen(const String& title);
    // Runs the selector for a file to write (existing or new; the dialog asks
    // before one is replaced); true when the user chose a name.
    bool ExecuteSave(const String& title);

    // The remembered state: the folder and the chosen file type. A type index
    // this selector does not have is a load error.
    void Serialize(Stream& s);

private:
    bool Run(FileSelectRequest::Kind kind, const String& title);

    std::vector<std::pair<String, String>> types_;
    int activeType_ = 0;
    bool multi_ = false;
};

// Chooses a folder.
class FolderSelector : public SelectorBase {
public:
    FolderSelector& Multi(bool multi = true) { multi_ = multi; return *this; }
    bool IsMulti() const { return multi_; }

    // Runs the selector; true when the user chose a folder.
    bool ExecuteSelectDir(const String& title);

    // The remembered state: the folder to start in.
    void Serialize(Stream& s);

private:
    bool multi_ = false;
};
