#pragma once
// The new-file command (button 215): the new-program form, the TSP file written from its
// choices, the panel's TSP file and result file set to it, and the editor started on it.

#include <functional>
#include <string>

#include "panel/deployment_config.h"
#include "panel/panel_context.h"

namespace tamvel {

/// What the command needs of the view beyond its working strings.
struct NewTspFilePanel {
    PanelContext& panel;
    const DeploymentConfig& config;                       ///< the guide pages' addresses
    std::function<void()> envSettings;                    ///< the settings command (button 1026)
    std::function<void(const std::string&)> showTspFile;  ///< sets field 1007, notifying
};

/// Runs the form; after OK writes the new file (silently nothing when it cannot be
/// written), derives the result file, starts the editor on the file when the editor exists,
/// and shows the file in field 1007. Cancel changes nothing.
void NewTspFile(NewTspFilePanel& command);

}  // namespace tamvel
