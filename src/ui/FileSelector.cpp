#include "ui/FileSelector.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <filesystem>

namespace {

FileSelectHandler& Handler()
{
    static FileSelectHandler handler;
    return handler;
}

QString FilterText(const std::pair<String, String>& type)
{
    // A name that already lists its patterns in brackets is used as it stands.
    const QString name = QString::fromStdString(type.first);
    if (name.contains('('))
        return name;
    return name + " (" + QString::fromStdString(type.second) + ")";
}

FileSelectAnswer RunDialog(FileSelectRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title),
                       QString::fromStdString(request.folder));
    if (request.kind == FileSelectRequest::SelectFolder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        if (request.kind == FileSelectRequest::SaveFile) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
        } else {
            dialog.setFileMode(request.multi ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        }
        QStringList filters;
        for (const auto& type : request.types)
            filters << FilterText(type);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            if (request.activeType >= 0 && request.activeType < filters.size())
                dialog.selectNameFilter(filters[request.activeType]);
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (request.kind != FileSelectRequest::SelectFolder) {
        const int chosen = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
        if (chosen >= 0)
            request.activeType = chosen;
    }
    std::vector<String> paths;
    for (const QString& path : dialog.selectedFiles())
        paths.push_back(path.toStdString());
    return paths;
}

String FolderOf(const String& path)
{
    return std::filesystem::path(path).parent_path().string();
}

} // namespace

FileSelectHandler SetFileSelectHandler(FileSelectHandler handler)
{
    std::swap(Handler(), handler);
    return handler;
}

bool SelectorBase::Execute(FileSelectRequest& request)
{
    request.folder = activeDir_;
    const FileSelectAnswer answer = Handler() ? Handler()(request) : RunDialog(request);
    if (!answer || answer->empty())
        return false;
    paths_ = *answer;
    return true;
}

FileSelector& FileSelector::Type(const String& name, const String& patterns)
{
    types_.emplace_back(name, patterns);
    return *this;
}

FileSelector& FileSelector::Types(const std::vector<std::pair<String, String>>& types)
{
    types_ = types;
    if (activeType_ >= static_cast<int>(types_.size()))
        activeType_ = 0;
    return *this;
}

bool FileSelector::ExecuteOpen(const String& title)
{
    return Run(FileSelectRequest::OpenFiles, title);
}

bool FileSelector::ExecuteSave(const String& title)
{
    return Run(FileSelectRequest::SaveFile, title);
}

bool FileSelector::Run(FileSelectRequest::Kind kind, const String& title)
{
    FileSelectRequest request;
    request.kind = kind;
    request.title = title;
    request.types = types_;
    request.activeType = activeType_;
    request.multi = kind == FileSelectRequest::OpenFiles && multi_;
    if (!Execute(request))
        return false;
    activeDir_ = FolderOf(paths_.front());
    if (request.activeType >= 0 && request.activeType < static_cast<int>(types_.size()))
        activeType_ = request.activeType;
    return true;
}

void FileSelector::Serialize(Stream& s)
{
    String folder = activeDir_;
    int32_t type = activeType_;
    s % folder % type;
    if (!s.IsLoading() || s.IsError())
        return;
    if (type < 0 || (type > 0 && type >= static_cast<int32_t>(types_.size()))) {
        s.SetError();
        return;
    }
    activeDir_ = folder;
    activeType_ = type;
}

bool FolderSelector::ExecuteSelectDir(const String& title)
{
    FileSelectRequest request;
    request.kind = FileSelectRequest::SelectFolder;
    request.title = title;
    request.multi = multi_;
    if (!Execute(request))
        return false;
    activeDir_ = paths_.front();
    return true;
}

void FolderSelector::Serialize(Stream& s)
{
    String folder = activeDir_;
    s % folder;
    if (s.IsLoading() && !s.IsError())
        activeDir_ = folder;
}
