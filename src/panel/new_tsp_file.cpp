#include "panel/new_tsp_file.h"

#include <optional>

#include "panel/open_print.h"
#include "panel/result_file_name.h"
#include "ui/control_ids.h"
#include "wizard/new_tsp_file_dlg.h"
#include "wizard/tsp_program_generator.h"

namespace tamvel {
namespace {

std::optional<NewTspFileChoices> RunForm(NewTspFilePanel& command) {
    PanelContext& panel = command.panel;
    NewTspFileDlgHost host;
    host.saveFolder = [&panel] { return panel.environment.saveFolder; };
    host.changeSaveFolder = command.envSettings;
    // A guide page that cannot be opened is not reported.
    host.openAddress = [&panel](std::string_view address) { panel.launcher.Open(address, "", ""); };
    host.macroSeriesGuide = command.config.guideMacroSeries;
    host.financialSeriesGuide = command.config.guideFinancialSeries;
    host.financialCrossGuide = command.config.guideFinancialCross;
    CNewTspFileDlg dialog(panel.ui, panel.fileSystem, std::move(host));
    return dialog.DoModal();
}

}  // namespace

void NewTspFile(NewTspFilePanel& command) {
    const std::optional<NewTspFileChoices> choices = RunForm(command);
    if (!choices) return;
    PanelContext& panel = command.panel;
    const std::string& path = choices->tspFilePath;
    panel.environment.tspFile = path;
    // The form refused an existing name, so nothing is replaced. A file that cannot be
    // written (a missing save folder, say) is silent: the panel still takes the path.
    panel.fileSystem.WriteFileReplacing(path, TspFileText(GenerateTspProgram(*choices)));
    panel.resultFilePath = MakeResultFileName(path);
    panel.ui.SetFieldText(kIdResultFileField, panel.resultFilePath);
    if (LocateFile(panel.ui, panel.fileSystem, panel.environment.editor, true)) {
        ReportedLaunch(panel, panel.environment.editor, path, panel.windowsFolder);
    }
    command.showTspFile(path);
}

}  // namespace tamvel
