#include "panel/open_print.h"

#include "panel/message_text.h"
#include "panel/shell_error_text.h"
#include "platform/text.h"
#include "platform/windows_path.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

constexpr std::string_view kFileNotFound = "ファイル%sが発見できません!";
constexpr std::string_view kPrintParameters = "/p ";

// A field's text read into a member and resolved against the save folder; the resolved path
// stays in the member whatever the command does next.
std::string& ReadResolved(const PanelContext& panel, int fieldId, std::string& member) {
    member = ResolveBareName(panel.ui.FieldText(fieldId), panel.environment.saveFolder);
    return member;
}

bool Locate(const PanelContext& panel, const std::string& path) {
    return LocateFile(panel.ui, panel.fileSystem, path, true);
}

// Prints the file of a field with Notepad. The TSP file's command reads its field after
// looking for Notepad, the result file's before, which shows in the member on a failure.
void PrintFile(const PanelContext& panel, int fieldId, std::string& member, bool readFirst) {
    if (readFirst) ReadResolved(panel, fieldId, member);
    if (!Locate(panel, panel.notepadPath)) return;
    if (!readFirst) ReadResolved(panel, fieldId, member);
    const std::string params = std::string(kPrintParameters) + member;
    if (!Locate(panel, member)) return;
    ReportedLaunch(panel, panel.notepadPath, params, "");
}

}  // namespace

std::string JoinFolderAndName(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!EndsWithSeparator(joined)) joined += '\\';
    joined += name;
    return joined;
}

std::string ResolveBareName(std::string_view path, std::string_view saveFolder) {
    if (FindLastChar(path, '\\') != std::string_view::npos) return std::string(path);
    return JoinFolderAndName(saveFolder, path);
}

bool LocateFile(Ui& ui, const FileSystem& fileSystem, const std::string& path, bool showMessage) {
    std::string folder;
    std::string name;
    std::string fullName;
    const std::size_t separator = FindLastChar(path, '\\');
    if (separator != std::string::npos) {
        fullName = path;
        folder = path.substr(0, separator);
        if (folder.size() == 2) folder += '\\';
        name = path.substr(separator + 1);
    } else {
        folder = fileSystem.CurrentDirectory();
        name = path;
        fullName = JoinFolderAndName(folder, path);
    }
    if (fileSystem.SearchPath(folder, name)) return true;
    if (showMessage) ui.ShowMessage(FormatMessageText(kFileNotFound, fullName));
    return false;
}

void ReportedLaunch(const PanelContext& panel, std::string_view file, std::string_view params,
                    std::string_view directory) {
    KeepShellResult(panel.ui, panel.launcher.Open(file, params, directory), panel.lastShellResult);
}

void EditTspFile(const PanelContext& panel) {
    const std::string& editor = panel.environment.editor;
    if (!Locate(panel, editor)) return;
    const std::string& tspFile = ReadResolved(panel, kIdTspFileField, panel.environment.tspFile);
    ReportedLaunch(panel, editor, tspFile, panel.windowsFolder);
}

void ViewResultFile(const PanelContext& panel) {
    const std::string& resultFile = ReadResolved(panel, kIdResultFileField, panel.resultFilePath);
    if (!Locate(panel, resultFile)) return;
    if (!Locate(panel, panel.environment.editor)) return;
    panel.ui.ShowMainWindow(false);
    ReportedLaunch(panel, panel.environment.editor, resultFile, panel.windowsFolder);
    panel.ui.ShowMainWindow(true);
}

void PrintTspFile(const PanelContext& panel) {
    PrintFile(panel, kIdTspFileField, panel.environment.tspFile, false);
}

void PrintResultFile(const PanelContext& panel) {
    PrintFile(panel, kIdResultFileField, panel.resultFilePath, true);
}

}  // namespace tamvel
