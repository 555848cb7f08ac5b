#include "wizard/new_tsp_file_dlg.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "platform/text.h"

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

std::optional<DataKind> KindOfRadio(int controlId) {
    const auto found = std::find(std::begin(kDataKindIds), std::end(kDataKindIds), controlId);
    if (found == std::end(kDataKindIds)) return std::nullopt;
    return static_cast<DataKind>(found - std::begin(kDataKindIds));
}

// The field a check box is bound to (box 1023: the form's own tick), or null. Form is
// NewTspFileForm, const or not.
template <class Form>
auto CheckOf(Form& form, int controlId) -> decltype(&form.noDataFileTicked) {
    auto& choices = form.choices;
    switch (controlId) {
        case kIdReadGeneralFile:
            return &choices.readGeneralFile;
        case kIdReadMacroFile:
            return &choices.readMacroFile;
        case kIdReadFinancialFile:
            return &choices.readFinancialFile;
        case kIdRunLeastSquares:
            return &choices.runLeastSquares;
        case kIdRunPanelAnalysis:
            return &choices.runPanelAnalysis;
        case kIdNoDataFile:
            return &form.noDataFileTicked;
        default:
            return nullptr;
    }
}

void SetSample(NewTspFileChoices& choices, std::string_view start, std::string_view end) {
    choices.sampleStart = start;
    choices.sampleEnd = end;
}

// The one source that stays ticked, or none.
void SetSource(NewTspFileChoices& choices, bool general, bool macro, bool financial) {
    choices.readGeneralFile = general;
    choices.readMacroFile = macro;
    choices.readFinancialFile = financial;
}

// Panel data, by its kind or by its analysis: the financial file supplies the identifier CD;
// the general and macro boxes keep their state.
void PresetPanel(NewTspFileChoices& choices) {
    SetSample(choices, kPanelStart, kPanelEnd);
    choices.readFinancialFile = true;
}

// What the form does once the box has toggled itself.
void ApplyRule(NewTspFileChoices& choices, int controlId) {
    switch (controlId) {
        case kIdReadGeneralFile:
            SetSource(choices, true, false, false);
            break;
        case kIdReadMacroFile:
            SetSource(choices, false, true, false);
            break;
        case kIdReadFinancialFile:
            SetSource(choices, false, false, true);
            break;
        case kIdNoDataFile:
            SetSource(choices, false, false, false);
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
            choices.runLeastSquares = false;
            break;
        case kIdRunLeastSquares:
            choices.runPanelAnalysis = false;
            choices.dataKind = DataKind::Quarterly;
            break;
        case kIdRunPanelAnalysis:
            PresetPanel(choices);
            choices.runLeastSquares = false;
            choices.dataKind = DataKind::Panel;
            break;
        default:
            break;
    }
}

}  // namespace

NewTspFileForm OpeningForm(std::string saveFolder) {
    NewTspFileForm form;
    form.saveFolder = std::move(saveFolder);
    form.choices.dataFileName = Cp932(kDataFilePlaceholder);
    SetSample(form.choices, kOpeningSampleStart, kOpeningSampleEnd);
    return form;
}

std::string SaveFolderQuestion(std::string_view saveFolder) {
    return EqualsNoCase(saveFolder, kTempFolder) ? Cp932(kTempFolderQuestion) : std::string();
}

void ClickBox(NewTspFileForm& form, int controlId) {
    if (const std::optional<DataKind> kind = KindOfRadio(controlId)) {
        form.choices.dataKind = *kind;
    } else if (bool* check = CheckOf(form, controlId)) {
        *check = !*check;
    } else {
        return;
    }
    ApplyRule(form.choices, controlId);
}

bool IsBoxTicked(const NewTspFileForm& form, int controlId) {
    if (const std::optional<DataKind> kind = KindOfRadio(controlId)) {
        return form.choices.dataKind == *kind;
    }
    const bool* check = CheckOf(form, controlId);
    return check != nullptr && *check;
}

// The whole name is kept, however long the chosen path.
std::string DataFileNameOf(std::string_view chosenPath) {
    const std::size_t separator = FindLastChar(chosenPath, '\\');
    return std::string(separator == std::string_view::npos ? chosenPath
                                                           : chosenPath.substr(separator + 1));
}

TspFilePathResult ValidateNewTspFile(const NewTspFileForm& form, const FileSystem& fileSystem) {
    return MakeTspFilePath(form.typedName, form.saveFolder, fileSystem);
}

}  // namespace tamvel
