// The new-program form as a real window under Xvfb: its template in dialog units with its
// labels, the opening values, the byte limits while typing, and a box's rule run by a click.

#include "wizard/new_tsp_file_dlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <functional>
#include <string>

#include "app/model_dialog.h"
#include "dialog_probe.h"
#include "integration/scripted_ui.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

// A Ui whose dialogs are real windows.
class WindowDialogsUi : public testing::ScriptedUi {
  public:
    int RunDialog(DialogModel& dialog) override { return ShowModelDialog(nullptr, dialog); }
};

struct TemplateControl {
    int id;
    const char* name;  // for controls without an id
    const char* label;
    int x, y, width, height;
};

wxString Utf8(const char* text) { return wxString::FromUTF8(text); }

void Type(wxTextCtrl& edit, const char* utf8) {
    for (const wxUniChar ch : Utf8(utf8)) edit.AppendText(wxString(ch));
}

TEST(NewTspFileDlgWindowTest, ShowsItsTemplateWithLabelsOpeningValuesAndByteLimits) {
    testing::TempPrefix prefix;
    ASSERT_TRUE(prefix.Ensure());
    FileSystem fileSystem(prefix.Drives());
    WindowDialogsUi ui;
    NewTspFileDlgHost host;
    host.saveFolder = [] { return std::string("D:\\work\\"); };
    host.changeSaveFolder = [] {};
    host.openAddress = [](std::string_view) {};
    CNewTspFileDlg form(ui, fileSystem, std::move(host));

    bool inspected = false;
    testing::DialogProbe probe([&](wxDialog& dialog) {
        inspected = true;
        EXPECT_EQ(dialog.GetTitle(), Utf8("新しいＴＳＰファイル名の入力"));
        EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(315, 305)));
        const TemplateControl controls[] = {
            {wxID_OK, "", "実行", 174, 12, 40, 25},
            {wxID_CANCEL, "", "中止", 215, 12, 37, 25},
            {0, "name_box", "新しく作成するＴＳＰファイルの名前を入力", 4, 3, 253, 63},
            {0, "contents_box", "ＴＳＰファイルの内容", 4, 70, 292, 192},
            {1018, "", "クロスセクションデータ", 14, 81, 87, 18},
            {1017, "", "年データ", 14, 100, 42, 10},
            {1019, "", "四半期データ", 58, 100, 55, 10},
            {1020, "", "月次データ", 118, 99, 46, 10},
            {1028, "", "パネルデータ", 118, 80, 60, 18},
            {1021, "", "一般ファイルからデータを読込", 19, 149, 108, 10},
            {1022, "", "最小自乗法を実行する", 16, 225, 82, 10},
            {0, "save_folder_box", "ファイルを保存するフォルダ", 10, 34, 242, 29},
            {1026, "", "<-変更する", 204, 42, 45, 18},
            {1024, "", "マクロデータをファイルから読込", 18, 164, 108, 10},
            {1025, "", "財務データファイルから読込", 18, 179, 108, 10},
            {1016, "", "ファイルを指定", 15, 194, 58, 18},
            {1023, "", "ファイルからデータを読込無し", 16, 121, 108, 10},
            {1056, "", "サンプル", 199, 79, 65, 38},
            {0, "data_file_box", "ﾌｧｲﾙから読み込み", 10, 136, 155, 80},
            {0, "names_box", "上から順に変数名を入力", 175, 122, 104, 121},
            {0, "position_12", "12", 222, 226, 9, 8},
            {0, "sample_head", "始め　　　終わり", 206, 88, 53, 8},
            {1027, "", "パネルデータ分析を実行", 16, 244, 88, 10},
            {1029, "", "マクロ経済時系列分析", 9, 277, 88, 18},
            {1057, "", "使い方の説明", 5, 266, 290, 32},
            {1030, "", "財務データ時系列分析", 99, 277, 88, 18},
            {1031, "", "財務データクロスセクション分析", 188, 277, 105, 18},
            {313, "", "", 13, 16, 152, 14},
            {314, "", "", 16, 45, 188, 14},
            {315, "", "", 73, 196, 84, 14},
            {316, "", "", 205, 99, 25, 14},
            {317, "", "", 235, 99, 25, 14},
            {1046, "", "", 189, 171, 32, 14},
            {1052, "", "", 232, 172, 32, 14},
        };
        for (const TemplateControl& c : controls) {
            SCOPED_TRACE(c.id != 0 ? std::to_string(c.id) : c.name);
            wxWindow* window =
                c.id != 0 ? dialog.FindWindow(c.id) : dialog.FindWindow(XRCID(c.name));
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->GetPosition(), dialog.ConvertDialogToPixels(wxPoint(c.x, c.y)));
            EXPECT_EQ(window->GetSize(), dialog.ConvertDialogToPixels(wxSize(c.width, c.height)));
            if (*c.label == '\0') continue;
            EXPECT_EQ(window->GetLabel(), Utf8(c.label));
            // No label is cut: its text fits across, beside the indicator of a box (group
            // boxes frame others and are not measured).
            const int indicator =
                wxDynamicCast(window, wxCheckBox) || wxDynamicCast(window, wxRadioButton) ? 14 : 0;
            if (!wxDynamicCast(window, wxStaticBox)) {
                EXPECT_LE(window->GetTextExtent(window->GetLabel()).x + indicator,
                          window->GetSize().x);
            }
        }

        auto edit = [&](int id) { return wxDynamicCast(dialog.FindWindow(id), wxTextCtrl); };
        auto ticked = [&](int id) {
            if (auto* check = wxDynamicCast(dialog.FindWindow(id), wxCheckBox)) {
                return check->GetValue();
            }
            return wxDynamicCast(dialog.FindWindow(id), wxRadioButton)->GetValue();
        };
        EXPECT_EQ(edit(316)->GetValue(), "1975");
        EXPECT_EQ(edit(317)->GetValue(), "2003");
        EXPECT_EQ(edit(315)->GetValue(), Utf8("ここをデータのファイル名に！"));
        EXPECT_EQ(edit(314)->GetValue(), "D:\\work\\");
        EXPECT_FALSE(edit(315)->IsEditable());
        EXPECT_FALSE(edit(314)->IsEditable());
        for (int id : {1019, 1021, 1022}) EXPECT_TRUE(ticked(id)) << id;
        for (int id : {1018, 1017, 1020, 1028, 1023, 1024, 1025, 1027}) {
            EXPECT_FALSE(ticked(id)) << id;
        }

        Type(*edit(1044), "山田太郎花");
        EXPECT_EQ(edit(1044)->GetValue(), Utf8("山田太郎"));
        Type(*edit(1055), "GDPCONSUM");
        EXPECT_EQ(edit(1055)->GetValue(), "GDPCONSU");
        Type(*edit(316), "9");
        EXPECT_EQ(edit(316)->GetValue(), "1975");

        // Panel data by the toolkit's own click: the rule presets the years.
        auto* panel = wxDynamicCast(dialog.FindWindow(1028), wxRadioButton);
        panel->SetValue(true);
        wxCommandEvent click(wxEVT_RADIOBUTTON, 1028);
        click.SetEventObject(panel);
        click.SetInt(1);
        panel->GetEventHandler()->ProcessEvent(click);
        EXPECT_EQ(edit(316)->GetValue(), "1");
        EXPECT_EQ(edit(317)->GetValue(), "150");
        EXPECT_TRUE(ticked(1027));
        EXPECT_FALSE(ticked(1022));
        EXPECT_TRUE(ticked(1025));
        EXPECT_EQ(edit(1044)->GetValue(), Utf8("山田太郎"));
    });
    EXPECT_FALSE(form.DoModal());
    EXPECT_TRUE(inspected);
}

}  // namespace
}  // namespace tamvel
