#pragma once
// What one installation of Tamvel says about its seminar: texts on the control panel and in
// the main caption, and the addresses behind the help, class-service and guide buttons. Read
// from a small UTF-8 key=value file; held as CP932.

#include <filesystem>
#include <string>
#include <string_view>

namespace tamvel {

struct DeploymentConfig {
    std::string seminar;      ///< the seminar's name (main caption, form caption, help box)
    std::string teacherMail;  ///< the teacher's e-mail address (contact line)
    std::string university;   ///< the university that hosts the TSP command site

    // Addresses; empty means not configured. The help and guide keys default to the pages
    // that ship with Tamvel.
    std::string helpDataCollection;    ///< help_data_collection: data collection (1042)
    std::string helpTsp;               ///< help_tsp: how to use TSP (1045)
    std::string helpScreen;            ///< help_screen: how to use this screen (1046)
    std::string tspCommandSite;        ///< tsp_command_site: the TSP command site (1044)
    std::string webmail;               ///< webmail: the university's web mail (1019)
    std::string teacherPage;           ///< teacher_page: the teacher's home page (1020)
    std::string webDisk;               ///< web_disk: the university's web disk (1021)
    std::string guideMacroSeries;      ///< guide_macro_series: new-program form (1029)
    std::string guideFinancialSeries;  ///< guide_financial_series: new-program form (1030)
    std::string guideFinancialCross;   ///< guide_financial_cross: new-program form (1031)

    /// The value of a key as the file names it ("help_tsp"), or null for an unknown key.
    const std::string* Find(std::string_view key) const;

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
