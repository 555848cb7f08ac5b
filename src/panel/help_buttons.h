#pragma once
// The control panel's help, class-service and data buttons: one table that says, for each
// button, what it hands to the shell (the browser with a configured address, a configured
// address itself, or a data program at its fixed path) and whether a failed launch is
// reported. Only the browser launches report; the others fail silently. A button whose
// address the deployment does not configure launches nothing and names the key to set.

#include <span>
#include <string>
#include <string_view>

#include "panel/deployment_config.h"
#include "panel/panel_context.h"

namespace tamvel {

/// What a button hands to the shell.
enum class HelpLaunch {
    Browser,  ///< "IEXPLORE.EXE" with the configured address as its parameter
    Address,  ///< the configured address itself, opened by its registered handler
    Program,  ///< a program at a fixed path, with no parameters
};

/// One help, service or data button.
struct HelpButton {
    int id;                 ///< the button's control id
    HelpLaunch launch;      ///< what it hands to the shell
    std::string_view what;  ///< the deployment key of its address, or the program's path (UTF-8)
    bool reported;          ///< whether a failed launch is put into words
};

/// The buttons in control panel order.
std::span<const HelpButton> HelpButtons();

/// The button with id `controlId`, or null when it is none of the table.
const HelpButton* FindHelpButton(int controlId);

/// The message for a button whose address `key` is not configured (CP932).
std::string AddressNotConfiguredMessage(std::string_view key);

/// Runs the launch of button `controlId` (one of the table): a reported launch keeps its
/// result as the last shell result and reports a failure; a silent one leaves both alone.
void PressHelpButton(const PanelContext& panel, const DeploymentConfig& config, int controlId);

}  // namespace tamvel
