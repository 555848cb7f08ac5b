// Renewing the document: a new one or an opened file, then the control panel's start-up
// runs again on the same view.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "panel/tamvel_doc.h"
#include "platform/recent_file_list.h"
#include "startup_fixture.h"

namespace tamvel::testing {
namespace {

class DocumentRenewalTest : public StartupFixture {
  protected:
    void SetUp() override {
        StartupFixture::SetUp();
        InstallTsp();
        m_document.OnNewDocument();
    }
    bool Renew(const std::optional<std::filesystem::path>& file) {
        return RenewDocument(m_document, m_recentFiles, file, [this] {
            ++m_startups;
            RunStartup();
        });
    }

    CTamvelDoc m_document;
    RecentFileList m_recentFiles{m_prefix.Root() / "config" / "Tamvel.conf"};
    int m_startups = 0;
};

TEST_F(DocumentRenewalTest, NewDocumentIsUntitledAndRecordsNothing) {
    ASSERT_TRUE(Renew(std::nullopt));
    EXPECT_EQ(m_startups, 1);
    EXPECT_EQ(m_document.Title(), "無題");
    EXPECT_EQ(m_document.Caption(), "無題 - Tamvel");
    EXPECT_TRUE(m_document.PathName().empty());
    m_recentFiles.Load();
    EXPECT_TRUE(m_recentFiles.Entries().empty());
}

TEST_F(DocumentRenewalTest, OpenedFileIsTitledByItsNameRecordedAndLeftUntouched) {
    const std::filesystem::path file = m_prefix.Root() / "work" / "model.tsp";
    TempPrefix::WriteFile(file, "ols y c x;\n");
    ASSERT_TRUE(Renew(file));
    EXPECT_EQ(m_startups, 1);
    EXPECT_EQ(m_document.Title(), "model.tsp");
    EXPECT_EQ(m_document.Caption(), "model.tsp - Tamvel");
    EXPECT_EQ(TempPrefix::ReadFile(file), "ols y c x;\n");
    RecentFileList stored(m_recentFiles.ConfigFile());
    stored.Load();
    EXPECT_EQ(stored.Entries(), std::vector<std::filesystem::path>{file});
}

TEST_F(DocumentRenewalTest, FileThatCannotBeOpenedChangesNothing) {
    const std::filesystem::path folder = m_prefix.Root() / "a-folder.tsp";
    std::filesystem::create_directories(folder);
    for (const std::filesystem::path& file : {m_prefix.Root() / "missing.tsp", folder}) {
        EXPECT_FALSE(Renew(file)) << file;
    }
    EXPECT_EQ(m_startups, 0);
    EXPECT_EQ(m_document.Title(), "無題");
    m_recentFiles.Load();
    EXPECT_TRUE(m_recentFiles.Entries().empty());
    EXPECT_EQ(OpenDocumentFailedMessage("/w/missing.tsp"), Cp932("/w/missing.tsp\nを開けません。"));
}

TEST_F(DocumentRenewalTest, RenewalReplacesTheSettingsInMemoryWithThoseOfTheEnvironmentFile) {
    const std::filesystem::path medium = m_prefix.MapDrive('A');
    TempPrefix::WriteFile(m_prefix.DriveC() / "tools" / "first.exe");
    TempPrefix::WriteFile(m_prefix.DriveC() / "tools" / "second.exe");
    WriteEnvironmentFile(medium, "C:\\temp\\Tsp.EXE", "C:\\tools\\first.exe", "A:\\", "");
    RunStartup();
    ASSERT_EQ(m_view.Environment().editor, "C:\\tools\\first.exe");

    WriteEnvironmentFile(medium, "C:\\temp\\Tsp.EXE", "C:\\tools\\second.exe", "A:\\", "");
    const std::filesystem::path file = medium / "model.tsp";
    TempPrefix::WriteFile(file);
    ASSERT_TRUE(Renew(file));
    EXPECT_EQ(m_view.Environment().editor, "C:\\tools\\second.exe");
    EXPECT_EQ(m_ui.FieldText(1014), "C:\\tools\\second.exe");
}

}  // namespace
}  // namespace tamvel::testing
