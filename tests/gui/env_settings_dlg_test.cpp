// The environment settings dialog as a real window, opened from the control panel's button
// 210: every control of template 130 at its place in dialog units with its text, the fields
// filled from the settings, and Cancel closing it with nothing changed.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/control_panel_form.h"
#include "app/tamvel_resources.h"
#include "dialog_probe.h"
#include "panel/tamvel_session.h"
#include "platform/text.h"
#include "support/temp_prefix.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

struct TemplateControl {
    int id;            // wx id, or 0 for a control known by its XRC name
    const char* name;  // XRC name of a control without id
    const char* kind;  // "button", "edit", "box", "static"
    const char* label;
    int x, y, width, height;
};

TEST(EnvSettingsDialogTest, OpensFromButton210WithEveryControlOfItsTemplate) {
    testing::TempPrefix prefix;
    ASSERT_TRUE(prefix.Ensure());
    prefix.InstallTsp();
    // In place before the form exists, so that start-up shows no other window.
    testing::DialogProbe probe({}, "環境設定");

    auto* frame = new wxFrame(nullptr, wxID_ANY, "Tamvel");
    TamvelSession session(SessionSetup{prefix.Prefix(), prefix.ConfigHome() / "Tamvel.conf",
                                       DeploymentConfig::Defaults()});
    auto* form = new ControlPanelForm(frame, session);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(form, 1, wxEXPAND);
    frame->SetSizerAndFit(sizer);
    form->RunStartup();
    frame->Show();
    wxTheApp->Yield();

    const TemplateControl controls[] = {
        {wxID_OK, "", "button", "OK", 14, 6, 74, 32},
        {wxID_CANCEL, "", "button", "ｷｬﾝｾﾙ", 92, 6, 74, 31},
        {1010, "", "button", "ワープロ/エディターを変更", 20, 133, 113, 19},
        {1012, "", "edit", "C:\\WINDOWS\\Notepad.exe", 20, 119, 261, 14},
        {0, "editor_box", "box", "ＴＳＰファイルを作成/修正するワープロ/エディター", 13, 107, 273,
         47},
        {211, "", "button", "統計計算プログラムを変更", 20, 76, 113, 19},
        {213, "", "edit", "C:\\temp\\Tsp.EXE", 20, 62, 261, 14},
        {0, "tsp_exe_box", "box", "実行する統計計算プログラム（例：ＴＳＰ）", 14, 50, 273, 47},
        {214, "", "button", "既存ドライブ/フォルダから選択", 19, 198, 113, 20},
        {1015, "", "edit", "C:\\temp\\", 19, 184, 261, 14},
        {0, "save_folder_box", "box", "TSPファイル/データファイル保存フォルダ", 13, 167, 273, 53},
        {0, "new_folder_note", "static", "新しい名前を入力すると、新フォルダを作成", 143, 201, 133,
         9},
    };
    probe.SetCheck([&](wxDialog& dialog) {
        EXPECT_EQ(dialog.GetFont().GetFaceName(), DialogFont().GetFaceName());
        EXPECT_EQ(dialog.GetFont().GetPointSize(), 9);
        EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(299, 261)));
        for (const TemplateControl& control : controls) {
            SCOPED_TRACE(control.id != 0 ? std::to_string(control.id) : control.name);
            wxWindow* window = control.id != 0 ? dialog.FindWindow(control.id)
                                               : dialog.FindWindow(XRCID(control.name));
            ASSERT_NE(window, nullptr);
            const std::string kind = control.kind;
            if (kind == "edit") {
                auto* edit = wxDynamicCast(window, wxTextCtrl);
                ASSERT_NE(edit, nullptr);
                EXPECT_TRUE(edit->IsEditable());
                EXPECT_EQ(edit->GetValue().utf8_string(), control.label);
            } else {
                EXPECT_TRUE(kind == "button" ? wxDynamicCast(window, wxButton) != nullptr
                            : kind == "box"  ? wxDynamicCast(window, wxStaticBox) != nullptr
                                             : wxDynamicCast(window, wxStaticText) != nullptr);
                EXPECT_EQ(window->GetLabel().utf8_string(), control.label);
                // The whole label fits its control.
                EXPECT_LE(window->GetTextExtent(window->GetLabel()).x, window->GetSize().x);
            }
            EXPECT_EQ(window->GetPosition(),
                      dialog.ConvertDialogToPixels(wxPoint(control.x, control.y)));
            EXPECT_EQ(window->GetSize(),
                      dialog.ConvertDialogToPixels(wxSize(control.width, control.height)));
        }
        EXPECT_EQ(dialog.GetDefaultItem(), dialog.FindWindow(wxID_OK));
        // TAMVEL_SCREENSHOT=file.png keeps a picture of the dialog as it stands.
        if (const char* shot = std::getenv("TAMVEL_SCREENSHOT")) {
            dialog.Update();
            wxTheApp->Yield();
            wxExecute(wxString::Format("import -window root %s", shot), wxEXEC_SYNC);
        }
    });

    wxCommandEvent click(wxEVT_BUTTON, kIdEnvSettings);
    click.SetEventObject(form->FindWindow(kIdEnvSettings));
    form->FindWindow(kIdEnvSettings)->GetEventHandler()->ProcessEvent(click);

    EXPECT_TRUE(probe.Seen());
    EXPECT_FALSE(fs::exists(prefix.DriveC() / "temp" / "TamvelEnvFile.TXT"));
    delete frame;
}

}  // namespace
}  // namespace tamvel
