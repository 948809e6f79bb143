#include "win32/fleet_shell.h"

#include "win32/handles.h"
#include "win32/text.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <string>
#include <vector>

namespace win32 {

namespace {

// The filters as the dialog takes them: names and patterns, kept alive while it is shown.
class Filters {
public:
    explicit Filters(const std::vector<form::FileFilter> &filters)
    {
        for (const form::FileFilter &filter : filters) {
            m_texts.push_back(wide(filter.name));
            m_texts.push_back(wide(filter.patterns));
        }
        for (std::size_t i = 0; i + 1 < m_texts.size(); i += 2)
            m_kinds.push_back({m_texts[i].c_str(), m_texts[i + 1].c_str()});
    }
    const COMDLG_FILTERSPEC *kinds() const
    {
        return m_kinds.data();
    }
    UINT count() const
    {
        return static_cast<UINT>(m_kinds.size());
    }

private:
    std::vector<std::wstring> m_texts;
    std::vector<COMDLG_FILTERSPEC> m_kinds;
};

// Where the dialog starts: a folder, or for a save dialog the folder and the name suggested.
HRESULT startAt(IFileDialog *dialog, DialogKind kind, const std::filesystem::path &start)
{
    const std::filesystem::path folder = kind == DialogKind::Save ? start.parent_path() : start;
    if (kind == DialogKind::Save && start.has_filename()) {
        if (const HRESULT named = dialog->SetFileName(start.filename().c_str()); FAILED(named))
            return named;
    }
    if (folder.empty())
        return S_OK;
    ComPtr<IShellItem> item;
    if (FAILED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem, item.putVoid())))
        return S_OK; // a folder gone: the dialog starts where it last was
    return dialog->SetFolder(item.get());
}

std::optional<std::filesystem::path> chosenPath(IFileDialog *dialog)
{
    ComPtr<IShellItem> item;
    PWSTR path = nullptr;
    if (FAILED(dialog->GetResult(item.put())) || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    std::filesystem::path chosen(path);
    CoTaskMemFree(path);
    return chosen;
}

} // namespace

std::optional<std::filesystem::path> chooseFile(HWND owner, DialogKind kind, const form::FileDialog &dialog)
{
    ComPtr<IFileDialog> shown;
    const CLSID &made = kind == DialogKind::Open ? CLSID_FileOpenDialog : CLSID_FileSaveDialog;
    if (FAILED(CoCreateInstance(made, nullptr, CLSCTX_INPROC_SERVER, IID_IFileDialog, shown.putVoid())))
        return std::nullopt;
    const Filters filters(dialog.filters);
    const std::wstring title = wide(dialog.title);
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(shown->GetOptions(&options))
        || FAILED(shown->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST
            | (kind == DialogKind::Open ? FOS_FILEMUSTEXIST : FOS_OVERWRITEPROMPT)))
        || FAILED(shown->SetTitle(title.c_str()))
        || FAILED(shown->SetFileTypes(filters.count(), filters.kinds()))
        || FAILED(startAt(shown.get(), kind, dialog.start)))
        return std::nullopt;
    if (kind == DialogKind::Save && !dialog.filters.empty()) {
        const std::wstring extension
            = std::filesystem::path(wide(dialog.filters.front().patterns)).extension();
        if (extension.size() > 1)
            shown->SetDefaultExtension(extension.c_str() + 1);
    }
    if (FAILED(shown->Show(owner)))
        return std::nullopt; // cancelled, or no dialog
    return chosenPath(shown.get());
}

bool openWithDefaultProgram(const std::filesystem::path &file)
{
    const auto done = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, file.parent_path().c_str(), SW_SHOWNORMAL));
    return done > 32;
}

bool showSelectedInFolder(const std::filesystem::path &file)
{
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(file.c_str());
    if (!item)
        return false;
    const HRESULT shown = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ILFree(item);
    if (SUCCEEDED(shown))
        return true;
    // An Explorer that cannot select: the folder at least.
    const auto opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.parent_path().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return opened > 32;
}

} // namespace win32
