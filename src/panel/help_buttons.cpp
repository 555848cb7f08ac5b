#include "panel/help_buttons.h"

#include "panel/message_text.h"
#include "panel/open_print.h"
#include "platform/shell_launch.h"
#include "platform/text.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

constexpr std::string_view kNeedsMacroProgram = "C:\\Program Files (x86)\\NEEDS\\Needs_Macro.exe";
constexpr std::string_view kNeedsFinancialProgram =
    "C:\\Program Files (x86)\\NEEDS\\NEEDS-CD ROM 日経財務データ DVD版\\finDVD.exe";

constexpr std::string_view kAddressNotConfigured =
    "このボタンの開くアドレスが設定されていません。\n"
    "設定ファイル deployment.conf に「%s = アドレス」の行を加えてください。";

constexpr HelpButton kHelpButtons[] = {
    {kIdDataCollectionSite, HelpLaunch::Browser, "help_data_collection", true},
    {kIdTspHowTo, HelpLaunch::Browser, "help_tsp", true},
    {kIdScreenHowTo, HelpLaunch::Browser, "help_screen", true},
    {kIdCommandSite, HelpLaunch::Address, "tsp_command_site", false},
    {kIdMacroData, HelpLaunch::Program, kNeedsMacroProgram, false},
    {kIdFinancialData, HelpLaunch::Program, kNeedsFinancialProgram, false},
    {kIdWebMail, HelpLaunch::Address, "webmail", false},
    {kIdTeacherPage, HelpLaunch::Address, "teacher_page", false},
    {kIdWebDisk, HelpLaunch::Address, "web_disk", false},
};

}  // namespace

std::span<const HelpButton> HelpButtons() { return kHelpButtons; }

const HelpButton* FindHelpButton(int controlId) {
    for (const HelpButton& button : kHelpButtons) {
        if (button.id == controlId) return &button;
    }
    return nullptr;
}

std::string AddressNotConfiguredMessage(std::string_view key) {
    return FormatMessageText(kAddressNotConfigured, key);
}

void PressHelpButton(const PanelContext& panel, const DeploymentConfig& config, int controlId) {
    const HelpButton* button = FindHelpButton(controlId);
    if (button == nullptr) return;
    std::string file;
    std::string params;
    if (button->launch == HelpLaunch::Program) {
        file = Cp932(button->what);
    } else {
        const std::string* address = config.Find(button->what);
        if (address == nullptr || address->empty()) {
            panel.ui.ShowMessage(AddressNotConfiguredMessage(button->what));
            return;
        }
        if (button->launch == HelpLaunch::Browser) {
            file = kBrowserProgramName;
            params = *address;
        } else {
            file = *address;
        }
    }
    if (button->reported) {
        ReportedLaunch(panel, file, params, "");
    } else {
        panel.launcher.Open(file, params, "");
    }
}

}  // namespace tamvel
