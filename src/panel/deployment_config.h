#pragma once
// What one installation of Tamvel says about its seminar: texts on the control panel and in
// the main caption, and the addresses of its guide pages. Read from a small UTF-8 key=value
// file; held as CP932.

#include <filesystem>
#include <string>

namespace tamvel {

struct DeploymentConfig {
    std::string seminar;           ///< the seminar's name (main caption, form caption, help box)
    std::string teacherMail;       ///< the teacher's e-mail address (contact line)
    std::string university;        ///< the university that hosts the TSP command site
    std::string guideMacroSeries;  ///< guide page: TSP on macro-economic time series
    std::string guideFinancialSeries;  ///< guide page: TSP on financial time series
    std::string guideFinancialCross;   ///< guide page: TSP on financial cross-section data

    /// Built-in defaults, used for every key a file does not set.
    static DeploymentConfig Defaults();

    /// Defaults overlaid with $TAMVEL_DEPLOYMENT if set, else /etc/tamvel/deployment.conf then
    /// $XDG_CONFIG_HOME/tamvel/deployment.conf (the later file wins per key). Files that are
    /// missing are skipped; unknown keys and bad lines are ignored.
    static DeploymentConfig Load();

    /// Defaults overlaid with one file.
    static DeploymentConfig LoadFile(const std::filesystem::path& file);
};

}  // namespace tamvel
