#include "wizard/new_tsp_file_dlg.h"

#include <iterator>
#include <utility>

#include "environment/choosers.h"
#include "platform/text.h"
#include "ui/control_ids.h"
#include "wizard/tsp_file_path.h"

namespace tamvel {
namespace {

constexpr std::string_view kTempFolder = "C:\\temp\\";
constexpr std::string_view kTempFolderQuestion =
    "ＴＳＰファイル保存フォルダがC\\temp\\です．ＯＫですか？";

// The sample years each kind of data presets.
constexpr std::string_view kCrossSectionStart = "1";
constexpr std::string_view kCrossSectionEnd = "50";
constexpr std::string_view kTimeSeriesStart = "1976";
constexpr std::string_view kTimeSeriesEnd = "2003";
constexpr std::string_view kPanelStart = "1";
constexpr std::string_view kPanelEnd = "150";

void SetSample(NewTspFileChoices& choices, std::string_view start, std::string_view end) {
    choices.sampleStart = start;
    choices.sampleEnd = end;
}

void SetSources(NewTspFileChoices& choices, bool general, bool macro, bool financial) {
    choices.readGeneralFile = general;
    choices.readMacroFile = macro;
    choices.readFinancialFile = financial;
}

// Panel data, chosen by its kind or by its analysis: the financial file supplies the
// identifier CD; the general and macro boxes keep their state.
void PresetPanel(NewTspFileChoices& choices) {
    SetSample(choices, kPanelStart, kPanelEnd);
    choices.readFinancialFile = true;
    choices.runLeastSquares = false;
}

// The check boxes bound to the record's flags, in the order of the exchange.
struct BoundCheck {
    int id;
    bool NewTspFileChoices::*flag;
};
constexpr BoundCheck kBoundChecks[] = {
    {kIdRunLeastSquares, &NewTspFileChoices::runLeastSquares},
    {kIdReadGeneralFile, &NewTspFileChoices::readGeneralFile},
    {kIdReadMacroFile, &NewTspFileChoices::readMacroFile},
    {kIdReadFinancialFile, &NewTspFileChoices::readFinancialFile},
    {kIdRunPanelAnalysis, &NewTspFileChoices::runPanelAnalysis},
};

}  // namespace

NewTspFileChoices OpeningChoices() {
    NewTspFileChoices choices;
    choices.dataFileName = Cp932(kDataFilePlaceholder);
    SetSample(choices, kOpeningSampleStart, kOpeningSampleEnd);
    return choices;
}

void ApplyBoxRule(NewTspFileChoices& choices, int controlId) {
    switch (controlId) {
        case kIdReadGeneralFile:
            SetSources(choices, true, false, false);
            break;
        case kIdReadMacroFile:
            SetSources(choices, false, true, false);
            break;
        case kIdReadFinancialFile:
            SetSources(choices, false, false, true);
            break;
        case kIdNoDataFile:
            SetSources(choices, false, false, false);
            break;
        case kIdCrossSectionKind:
            SetSample(choices, kCrossSectionStart, kCrossSectionEnd);
            break;
        case kIdAnnualKind:
        case kIdQuarterlyKind:
        case kIdMonthlyKind:
            SetSample(choices, kTimeSeriesStart, kTimeSeriesEnd);
            break;
        case kIdPanelKind:
            PresetPanel(choices);
            choices.runPanelAnalysis = true;
            break;
        case kIdRunLeastSquares:
            choices.runPanelAnalysis = false;
            choices.dataKind = DataKind::Quarterly;
            break;
        case kIdRunPanelAnalysis:
            PresetPanel(choices);
            choices.dataKind = DataKind::Panel;
            break;
        default:
            break;
    }
}

std::string SaveFolderQuestion(std::string_view saveFolder) {
    return EqualsNoCase(saveFolder, kTempFolder) ? Cp932(kTempFolderQuestion) : std::string();
}

std::string DataFileNameOf(std::string_view chosenPath) {
    const std::size_t separator = FindLastChar(chosenPath, '\\');
    return std::string(separator == std::string_view::npos ? chosenPath
                                                           : chosenPath.substr(separator + 1));
}

CNewTspFileDlg::CNewTspFileDlg(Ui& ui, const FileSystem& fileSystem, NewTspFileDlgHost host)
    : m_ui(ui), m_fileSystem(fileSystem), m_host(std::move(host)), m_model(kDialogNewFile) {
    AddControls();
    m_model.SetInitHandler([this](DialogModel&) { OnInitDialog(); });
    m_model.SetValidator([this](DialogModel&) { return OnOK(); });
}

// In tab order; the radio buttons of the kinds follow each other, so they form one group.
void CNewTspFileDlg::AddControls() {
    auto box = [this](int id) { return [this, id](DialogModel&) { OnBox(id); }; };
    auto guide = [this](const std::string& address) {
        return [this, &address](DialogModel&) { m_host.openAddress(address); };
    };
    m_model.AddEdit(kIdNewFileName);
    for (int id : kDataKindIds) m_model.AddRadio(id).onClick = box(id);
    m_model.AddCheck(kIdReadGeneralFile).onClick = box(kIdReadGeneralFile);
    m_model.AddCheck(kIdRunLeastSquares).onClick = box(kIdRunLeastSquares);
    m_model.AddEdit(kIdNewFileFolder).readOnly = true;
    m_model.AddButton(kIdChangeSaveFolder, [this](DialogModel&) { OnChangeSaveFolder(); });
    m_model.AddCheck(kIdReadMacroFile).onClick = box(kIdReadMacroFile);
    m_model.AddCheck(kIdReadFinancialFile).onClick = box(kIdReadFinancialFile);
    m_model.AddButton(kIdChooseDataFile, [this](DialogModel&) { OnChooseDataFile(); });
    m_model.AddEdit(kIdDataFileName).readOnly = true;
    m_model.AddCheck(kIdNoDataFile).onClick = box(kIdNoDataFile);
    m_model.AddEdit(kIdSampleStart, kMaxSampleYearBytes);
    m_model.AddEdit(kIdSampleEnd, kMaxSampleYearBytes);
    for (int id : kVariableNameIds) m_model.AddEdit(id, kMaxVariableNameBytes);
    m_model.AddCheck(kIdRunPanelAnalysis).onClick = box(kIdRunPanelAnalysis);
    m_model.AddButton(kIdMacroSeriesGuide, guide(m_host.macroSeriesGuide));
    m_model.AddButton(kIdFinancialSeriesGuide, guide(m_host.financialSeriesGuide));
    m_model.AddButton(kIdFinancialCrossGuide, guide(m_host.financialCrossGuide));
    ShowRecord(NewTspFileChoices{});
}

NewTspFileChoices CNewTspFileDlg::ReadControls() const {
    NewTspFileChoices choices;
    choices.tspFilePath = m_choices.tspFilePath;
    for (const BoundCheck& check : kBoundChecks) choices.*check.flag = m_model.Checked(check.id);
    for (std::size_t kind = 0; kind < std::size(kDataKindIds); ++kind) {
        if (m_model.Checked(kDataKindIds[kind])) choices.dataKind = static_cast<DataKind>(kind);
    }
    choices.sampleStart = m_model.Text(kIdSampleStart);
    choices.sampleEnd = m_model.Text(kIdSampleEnd);
    choices.dataFileName = m_model.Text(kIdDataFileName);
    for (std::size_t at = 0; at < kVariableNameCount; ++at) {
        choices.variableNames[at] = m_model.Text(kVariableNameIds[at]);
    }
    return choices;
}

void CNewTspFileDlg::ShowRecord(const NewTspFileChoices& choices) {
    for (const BoundCheck& check : kBoundChecks) m_model.SetChecked(check.id, choices.*check.flag);
    m_model.SetChecked(kDataKindIds[static_cast<int>(choices.dataKind)], true);
    m_model.SetText(kIdSampleStart, choices.sampleStart);
    m_model.SetText(kIdSampleEnd, choices.sampleEnd);
    m_model.SetText(kIdDataFileName, choices.dataFileName);
    for (std::size_t at = 0; at < kVariableNameCount; ++at) {
        m_model.SetText(kVariableNameIds[at], choices.variableNames[at]);
    }
}

// The opening values are in place before the form shows; the question comes once it shows.
std::optional<NewTspFileChoices> CNewTspFileDlg::DoModal() {
    ShowRecord(OpeningChoices());
    m_model.SetText(kIdNewFileFolder, m_host.saveFolder());
    m_choices = ReadControls();
    if (m_ui.RunDialog(m_model) != kDialogOk) return std::nullopt;
    return m_choices;
}

void CNewTspFileDlg::OnInitDialog() {
    const std::string question = SaveFolderQuestion(m_model.Text(kIdNewFileFolder));
    if (!question.empty()) m_ui.ShowMessage(question);
}

void CNewTspFileDlg::OnBox(int controlId) {
    NewTspFileChoices choices = ReadControls();
    ApplyBoxRule(choices, controlId);
    ShowRecord(choices);
}

// A cancelled chooser, or a path too long for the chooser's buffer, keeps the field's text.
void CNewTspFileDlg::OnChooseDataFile() {
    std::string chosen;
    if (ChooseFileInto(m_ui, ChooserKind::DataFile, chosen)) {
        m_model.SetText(kIdDataFileName, DataFileNameOf(chosen));
    }
}

void CNewTspFileDlg::OnChangeSaveFolder() {
    m_host.changeSaveFolder();
    m_model.SetText(kIdNewFileFolder, m_host.saveFolder());
}

// A refusal leaves the form open and the typed name as it is.
bool CNewTspFileDlg::OnOK() {
    m_choices = ReadControls();
    TspFilePathResult result =
        MakeTspFilePath(m_model.Text(kIdNewFileName), m_host.saveFolder(), m_fileSystem);
    if (!result.path) {
        m_ui.ShowMessage(result.refusal);
        return false;
    }
    m_choices.tspFilePath = std::move(*result.path);
    return true;
}

}  // namespace tamvel
