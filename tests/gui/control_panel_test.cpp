// The control panel form and the choosers as real windows: the form's controls, its size in
// dialog units of its own font, the buttons that follow the TSP file field at idle time, and
// the drive trees of the file chooser and the folder browser.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/treectrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/control_panel_form.h"
#include "app/drive_dir_ctrl.h"
#include "app/ext_file_dlg.h"
#include "app/folder_browser.h"
#include "app/tamvel_resources.h"
#include "panel/tamvel_session.h"
#include "platform/text.h"
#include "support/fake_programs.h"
#include "support/temp_prefix.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

// Records every modal window that opens (message boxes by their text, choosers counted) and
// keeps it from showing, as if cancelled at once.
class RecordingDialogs : public wxModalDialogHook {
  public:
    std::vector<std::string> messages;
    int choosers = 0;

  protected:
    int Enter(wxDialog* dialog) override {
        // The window that stands in while TSP runs is shown for real.
        if (dialog->GetName() == "running") return wxID_NONE;
        if (auto* box = wxDynamicCast(dialog, wxMessageDialog)) {
            messages.push_back(box->GetMessage().utf8_string());
        } else {
            ++choosers;
        }
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// A fresh prefix in which start-up finds everything it looks for: the installed TSP and,
// after EnsurePrefix, the default editor.
class ControlPanelFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dialogs.Register();
        ASSERT_TRUE(m_prefix.Ensure());
        m_driveC = fs::canonical(m_prefix.DriveC());
        m_prefix.InstallTsp();
        for (const char* name : {"model.tsp", "TSP.EXE", "README"}) {
            testing::TempPrefix::WriteFile(m_driveC / "temp" / name);
        }
        m_drives = std::make_unique<DriveMap>(m_prefix.Prefix());
    }

    void TearDown() override {
        delete m_frame;  // the form saves the environment as it goes
        m_dialogs.Unregister();
    }

    ControlPanelForm* OpenForm() {
        DeploymentConfig config = DeploymentConfig::Defaults();
        config.seminar = Cp932("テストゼミ");
        config.university = Cp932("テスト大学");
        config.teacherMail = "teacher@example.ac.jp";
        m_frame = new wxFrame(nullptr, wxID_ANY, "Tamvel");
        m_session = std::make_unique<TamvelSession>(
            SessionSetup{m_prefix.Prefix(), m_prefix.ConfigHome() / "Tamvel.conf", config});
        auto* form = new ControlPanelForm(m_frame, *m_session);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(form, 1, wxEXPAND);
        m_frame->SetSizerAndFit(sizer);
        form->RunStartup();
        m_frame->Show();
        wxTheApp->Yield();
        return form;
    }

    // The form over the fake TSP in `mode` (fakes/fake_tsp.cpp), C:\work\model.tsp typed in.
    ControlPanelForm* OpenFormToRun(testing::FakePrograms& fakes, const char* mode) {
        fakes.SetTspMode(mode);
        testing::TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
        ControlPanelForm* form = OpenForm();
        wxDynamicCast(form->FindWindow(kIdTspFileField), wxTextCtrl)
            ->SetValue("C:\\work\\model.tsp");
        // A window manager maps the frame a while after it is shown (wxGTK defers the show
        // until it knows the frame's borders); a person clicks once it is there.
        for (int i = 0; i < 50; ++i) {
            IdlePass();
            wxMilliSleep(10);
        }
        return form;
    }

    // One idle pass, as the event loop makes when it runs out of events.
    static void IdlePass() {
        wxTheApp->Yield();
        wxTheApp->ProcessIdle();
    }

    testing::TempPrefix m_prefix;
    fs::path m_driveC;
    std::unique_ptr<DriveMap> m_drives;
    std::unique_ptr<TamvelSession> m_session;
    RecordingDialogs m_dialogs;
    wxFrame* m_frame = nullptr;
};

// The window that a control of the template became: by resource id, or by its XRC name
// for the frames and boxes that have none.
wxWindow* FindControl(wxWindow* form, int id, const char* name) {
    return id != 0 ? form->FindWindow(id) : form->FindWindow(XRCID(name));
}

// Dialog units to pixels for a font, computed the way Windows does for a dialog: the
// average width of the 52 ASCII letters and the font's height, x/4 and y/8 of them.
wxSize DialogUnitsToPixels(wxWindow* window, int x, int y) {
    int lettersWidth = 0;
    int height = 0;
    window->GetTextExtent("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", &lettersWidth,
                          &height);
    const int baseX = (lettersWidth / 26 + 1) / 2;
    const int baseY = window->GetCharHeight();
    auto mulDiv = [](int value, int base, int divisor) {
        return (value * base + divisor / 2) / divisor;
    };
    return wxSize(mulDiv(x, baseX, 4), mulDiv(y, baseY, 8));
}

struct TemplateControl {
    int id;            // 0 for a control without one
    const char* name;  // XRC name of a control without id
    const char* kind;  // "button", "edit", "box", "static", "icon"
    const char* label;
    int x, y, width, height;
};

TEST_F(ControlPanelFormTest, FormHoldsEveryControlOfItsTemplateInDialogUnits) {
    ControlPanelForm* form = OpenForm();

    const TemplateControl controls[] = {
        {1000, "", "button", "他の既存ＴＳＰファイルに変更", 25, 16, 112, 23},
        {1001, "", "button", "このＴＳＰファイルを変更", 138, 53, 103, 22},
        {1002, "", "button", "このＴＳＰファイルを実行", 23, 53, 113, 22},
        {203, "", "button", "実行結果ファイルを見る", 24, 111, 95, 22},
        {1004, "", "button", "実行結果ファイルを印刷する", 119, 111, 9, 18},
        {1005, "", "button", "ＴＳＰファイルを印刷", 158, 111, 6, 22},
        {1016, "", "button", "終了", 287, 141, 44, 37},
        {1007, "", "edit", "", 24, 39, 215, 14},
        {1008, "", "edit", "", 24, 96, 229, 14},
        {0, "result_file_box", "box", "実行結果を格納するファイル", 17, 84, 240, 53},
        {0, "tsp_file_box", "box", "ＴＳＰファイル", 14, 6, 230, 75},
        {0, "form_frame", "box", "", 1, 2, 337, 270},
        {210, "", "button", "環境設定\n\n\nワープロ\n変更⇒\n\n保存場所\n変更⇒\n", 24, 189, 46, 70},
        {212, "", "edit", "", 81, 194, 247, 12},
        {1014, "", "edit", "", 81, 218, 246, 12},
        {0, "settings_frame", "box", "", 18, 181, 317, 84},
        {215, "", "button", "新しいＴＳＰファイル作成", 138, 16, 102, 24},
        {0, "tsp_exe_box", "box", "ＴＰＳ実行ファイル", 75, 185, 256, 23},
        {0, "editor_box", "box", "ｴﾃﾞｨﾀ/ﾜｰﾌﾟﾛ", 75, 209, 256, 23},
        {0, "icon", "icon", "", 131, 111, 0, 0},
        {1015, "", "edit", "", 81, 243, 246, 12},
        {0, "save_folder_box", "box", "ＴＳＰファイル保存フォルダ", 76, 233, 255, 24},
        {1018, "", "button", "マクロ経済データ", 265, 101, 61, 17},
        {1042, "", "button", "TSPﾃﾞｰﾀ収集\n説明ｻｲﾄ", 123, 151, 51, 26},
        {1043, "", "button", "TSPコマンド\n一覧", 174, 151, 51, 26},
        {1044, "", "button", "TSPコマンド\n説明ｻｲﾄ\n(テスト大学)", 230, 141, 48, 37},
        {1045, "", "button", "TSP\n使い方", 74, 151, 49, 26},
        {1046, "", "button", "この画面の\n使い方", 20, 151, 54, 27},
        {0, "help_box", "box", "ヘルプ（テストゼミ）", 16, 140, 212, 40},
        {1019, "", "button", "アクティブメイル", 254, 35, 74, 21},
        {1020, "", "button", "先生のホームページ", 254, 12, 74, 21},
        {1021, "", "button", "ウエブ・ディスク", 260, 69, 74, 19},
        {0, "mail_line", "static", "teacher@example.ac.jp", 247, 58, 86, 8},
        {0, "data_box", "box", "データ収集", 260, 90, 73, 49},
        {1022, "", "button", "財務データ", 265, 118, 61, 17},
    };

    for (const TemplateControl& control : controls) {
        SCOPED_TRACE(control.id != 0 ? std::to_string(control.id) : std::string(control.name));
        wxWindow* window = FindControl(form, control.id, control.name);
        ASSERT_NE(window, nullptr);
        const std::string kind = control.kind;
        if (kind == "button") {
            EXPECT_NE(wxDynamicCast(window, wxButton), nullptr);
        } else if (kind == "edit") {
            auto* edit = wxDynamicCast(window, wxTextCtrl);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->IsEditable(), control.id == kIdTspFileField);
        } else if (kind == "box") {
            EXPECT_NE(wxDynamicCast(window, wxStaticBox), nullptr);
        } else if (kind == "static") {
            EXPECT_NE(wxDynamicCast(window, wxStaticText), nullptr);
        } else {
            auto* icon = wxDynamicCast(window, wxStaticBitmap);
            ASSERT_NE(icon, nullptr);
            EXPECT_TRUE(icon->GetBitmap().IsOk());
        }
        if (kind != "edit" && kind != "icon") {
            EXPECT_EQ(window->GetLabel().utf8_string(), control.label);
        }
        const wxSize position = DialogUnitsToPixels(form, control.x, control.y);
        EXPECT_EQ(window->GetPosition(), wxPoint(position.x, position.y));
        if (kind != "icon") {
            EXPECT_EQ(window->GetSize(), DialogUnitsToPixels(form, control.width, control.height));
        }
        const bool hidden = control.id == kIdPrintResult || control.id == kIdPrintTspFile;
        EXPECT_EQ(window->IsShown(), !hidden);
        if (hidden) {
            EXPECT_FALSE(window->IsEnabled());
        }
    }

    // The template is 341 by 272 dialog units of the form's own font.
    EXPECT_EQ(form->GetFont().GetFaceName(), DialogFont().GetFaceName());
    EXPECT_EQ(form->GetFont().GetPointSize(), 9);
    EXPECT_EQ(form->GetSize(), DialogUnitsToPixels(form, 341, 272));
    EXPECT_EQ(form->GetLabel().utf8_string(), "テストゼミ");
}

TEST_F(ControlPanelFormTest, RunButtonFollowsTheTypedTspFileAtTheNextIdlePass) {
    ControlPanelForm* form = OpenForm();
    EXPECT_TRUE(m_dialogs.messages.empty()) << "start-up asked: " << m_dialogs.messages.front();
    EXPECT_EQ(m_dialogs.choosers, 0);

    auto* tspFileField = wxDynamicCast(form->FindWindow(kIdTspFileField), wxTextCtrl);
    wxWindow* runButton = form->FindWindow(kIdRunTspFile);
    wxWindow* editButton = form->FindWindow(kIdEditTspFile);
    ASSERT_NE(tspFileField, nullptr);
    ASSERT_NE(runButton, nullptr);
    ASSERT_NE(editButton, nullptr);

    IdlePass();
    EXPECT_FALSE(runButton->IsEnabled());
    EXPECT_FALSE(editButton->IsEnabled());

    // Any text enables the edit button only.
    tspFileField->SetValue("C:\\temp\\missing.tsp");
    IdlePass();
    EXPECT_FALSE(runButton->IsEnabled());
    EXPECT_TRUE(editButton->IsEnabled());

    // An existing file's path (its name in another case) enables both; the typed change
    // reached the logic, which derived the result file.
    tspFileField->SetValue("C:\\temp\\MODEL.tsp");
    IdlePass();
    EXPECT_TRUE(runButton->IsEnabled());
    EXPECT_TRUE(editButton->IsEnabled());
    EXPECT_EQ(form->FieldText(kIdResultFileField), "C:\\temp\\MODEL.out");

    // The file goes away outside the program: nothing is cached.
    fs::remove(m_driveC / "temp" / "model.tsp");
    IdlePass();
    EXPECT_FALSE(runButton->IsEnabled());
}

TEST_F(ControlPanelFormTest, FieldsGiveBackTheBytesTheProgramSet) {
    ControlPanelForm* form = OpenForm();
    // Not valid CP932: shown marked ("\x81"), read back unchanged.
    const std::string odd = "C:\\temp\\\x81";
    form->SetFieldText(kIdSaveFolderField, odd);
    EXPECT_EQ(form->FieldText(kIdSaveFolderField), odd);
    const std::string japanese = Cp932("C:\\temp\\ゼミ資料");
    form->SetFieldText(kIdTspFileField, japanese);
    EXPECT_EQ(form->FieldText(kIdTspFileField), japanese);

    // What a person types is read as CP932; a character CP932 lacks reads as '?'.
    auto* tspFileField = wxDynamicCast(form->FindWindow(kIdTspFileField), wxTextCtrl);
    tspFileField->SetValue(wxString::FromUTF8("C:\\temp\\データ\xF0\x9F\x98\x80.tsp"));
    EXPECT_EQ(form->FieldText(kIdTspFileField), Cp932("C:\\temp\\データ?.tsp"));
}

// The child of a chooser that shows the drives.
DriveDirCtrl* DriveTreeOf(wxWindow* chooser) {
    for (wxWindow* child : chooser->GetChildren()) {
        if (auto* tree = dynamic_cast<DriveDirCtrl*>(child)) return tree;
    }
    return nullptr;
}

TEST_F(ControlPanelFormTest, FolderBrowserShowsTheSelectedFoldersWindowsPath) {
    OpenForm();
    FolderBrowser browser(m_frame, *m_drives);
    EXPECT_EQ(browser.GetTitle().utf8_string(), "ＴＳＰファイル格納フォルダの変更");
    DriveDirCtrl* tree = DriveTreeOf(&browser);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(browser.StatusText(), "");

    tree->ExpandPath(wxString((m_driveC / "temp").c_str()));
    EXPECT_EQ(browser.StatusText(), "C:\\temp");
    tree->ExpandPath(wxString(m_driveC.c_str()));
    EXPECT_EQ(browser.StatusText(), "C:\\");
    EXPECT_EQ(tree->SelectedDisplayName().utf8_string(), "drive_c (C:)");
}

TEST_F(ControlPanelFormTest, FileChooserListsMatchingFilesWhateverTheirCase) {
    OpenForm();
    struct Case {
        ChooserKind kind;
        const char* file;
        bool listed;
    };
    const Case cases[] = {
        {ChooserKind::Program, "TSP.EXE", true},   {ChooserKind::Program, "model.tsp", false},
        {ChooserKind::TspFile, "model.tsp", true}, {ChooserKind::DataFile, "model.tsp", true},
        {ChooserKind::DataFile, "README", true},  // "*.*" matches a name without a dot
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        CExtFileDlg chooser(m_frame, test.kind, *m_drives);
        EXPECT_EQ(chooser.GetTitle().utf8_string(), "ファイルの選択");
        EXPECT_EQ(chooser.FindWindow(wxID_OK)->GetLabel().utf8_string(), "選択する");
        DriveDirCtrl* tree = DriveTreeOf(&chooser);
        ASSERT_NE(tree, nullptr);
        tree->ExpandPath(wxString((m_driveC / "temp" / test.file).c_str()));
        EXPECT_EQ(tree->IsFileSelected(), test.listed);
        if (test.listed) {
            EXPECT_EQ(tree->SelectedWindowsPath(), std::string("C:\\temp\\") + test.file);
            EXPECT_TRUE(chooser.FindWindow(wxID_OK)->IsEnabled());
        }
    }
}

// Both choosers open with the mapped drives listed, none of them opened, nothing selected
// and their OK disabled: OK without a choice must not make a drive's root the answer.
TEST_F(ControlPanelFormTest, ChoosersOpenWithTheDrivesListedAndNothingChosen) {
    OpenForm();
    struct Case {
        const char* name;
        std::unique_ptr<wxDialog> chooser;
    };
    Case cases[] = {
        {"folder browser", std::make_unique<FolderBrowser>(m_frame, *m_drives)},
        {"program", std::make_unique<CExtFileDlg>(m_frame, ChooserKind::Program, *m_drives)},
        {"tsp file", std::make_unique<CExtFileDlg>(m_frame, ChooserKind::TspFile, *m_drives)},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.chooser->Show();
        wxTheApp->Yield();
        DriveDirCtrl* tree = DriveTreeOf(c.chooser.get());
        ASSERT_NE(tree, nullptr);
        const wxTreeCtrl* items = tree->GetTreeCtrl();
        std::vector<std::string> drives;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = items->GetFirstChild(items->GetRootItem(), cookie); item.IsOk();
             item = items->GetNextChild(items->GetRootItem(), cookie)) {
            drives.push_back(items->GetItemText(item).utf8_string());
            EXPECT_FALSE(items->IsExpanded(item)) << drives.back();
            EXPECT_FALSE(items->IsSelected(item)) << drives.back();
        }
        EXPECT_EQ(drives, (std::vector<std::string>{"drive_c (C:)", "/ (Z:)"}));
        // At most the hidden root, which no person sees or can choose.
        const wxTreeItemId selected = items->GetSelection();
        EXPECT_TRUE(!selected.IsOk() || selected == items->GetRootItem())
            << items->GetItemText(selected);
        EXPECT_EQ(tree->SelectedHostPath(), "");
        EXPECT_FALSE(c.chooser->FindWindow(wxID_OK)->IsEnabled());

        tree->ExpandPath(wxString((m_driveC / "temp").c_str()));
        // A folder is an answer for the browser; the file choosers still want a file.
        EXPECT_EQ(c.chooser->FindWindow(wxID_OK)->IsEnabled(),
                  std::string(c.name) == "folder browser");
        c.chooser->Hide();
    }
}

// The shown window that stands in for the main window while TSP runs, or nullptr.
wxDialog* ShownRunningWindow() {
    for (wxWindow* window : wxTopLevelWindows) {
        if (window->GetName() == "running" && window->IsShown())
            return wxDynamicCast(window, wxDialog);
    }
    return nullptr;
}

// Clicks a button as the person does: its click event goes up from the button.
void Click(wxWindow* button) {
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

// What a look at the screen during a run found.
struct RunningLook {
    bool looked = false;
    bool mainWindowShown = true;
    bool runningWindowShown = false;
    std::string file;
    std::string elapsed;
    bool stopEnabled = false;
    bool labelsFit = false;
};

// A look at the screen `afterMs` into the run; `then` may act on the running window.
class RunProbe {
  public:
    RunProbe(wxWindow* mainWindow, int afterMs, std::function<void(wxDialog*)> then = {})
        : m_mainWindow(mainWindow), m_then(std::move(then)) {
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Look(); });
        m_timer.StartOnce(afterMs);
    }
    const RunningLook& Seen() const { return m_seen; }

  private:
    void Look() {
        m_seen.looked = true;
        m_seen.mainWindowShown = m_mainWindow->IsShown();
        wxDialog* running = ShownRunningWindow();
        m_seen.runningWindowShown = running != nullptr;
        if (!running) return;
        auto* file = XRCCTRL(*running, "file", wxStaticText);
        auto* elapsed = XRCCTRL(*running, "elapsed", wxStaticText);
        auto* stop = XRCCTRL(*running, "stop", wxButton);
        if (!file || !elapsed || !stop) return;
        m_seen.file = file->GetLabel().utf8_string();
        m_seen.elapsed = elapsed->GetLabel().utf8_string();
        m_seen.stopEnabled = stop->IsEnabled();
        m_seen.labelsFit = true;
        for (const char* name : {"heading", "elapsed"}) {
            auto* label = XRCCTRL(*running, name, wxStaticText);
            m_seen.labelsFit = m_seen.labelsFit && label &&
                               label->GetTextExtent(label->GetLabel()).x <= label->GetSize().x;
        }
        m_seen.labelsFit =
            m_seen.labelsFit && stop->GetTextExtent(stop->GetLabel()).x < stop->GetSize().x;
        if (const char* folder = std::getenv("TAMVEL_SCREENSHOT_DIR")) {
            wxTheApp->Yield();
            const std::string command =
                std::string("import -window root '") + folder + "/running-window.png'";
            EXPECT_EQ(std::system(command.c_str()), 0);
        }
        if (m_then) m_then(running);
    }

    wxWindow* m_mainWindow;
    std::function<void(wxDialog*)> m_then;
    wxTimer m_timer;
    RunningLook m_seen;
};

TEST_F(ControlPanelFormTest, RunsTspWithItsOwnRunningWindowInPlaceOfTheHiddenMainWindow) {
    testing::FakePrograms fakes(m_prefix);
    ControlPanelForm* form = OpenFormToRun(fakes, "slow");

    RunProbe probe(m_frame, 1100);
    Click(form->FindWindow(kIdRunTspFile));

    const RunningLook& seen = probe.Seen();
    ASSERT_TRUE(seen.looked);
    EXPECT_FALSE(seen.mainWindowShown);
    EXPECT_TRUE(seen.runningWindowShown);
    EXPECT_EQ(seen.file, "model.tsp");
    EXPECT_EQ(seen.elapsed, "経過時間 1 秒");
    EXPECT_TRUE(seen.stopEnabled);
    EXPECT_TRUE(seen.labelsFit);
    EXPECT_TRUE(m_frame->IsShown());
    EXPECT_EQ(ShownRunningWindow(), nullptr);
    EXPECT_TRUE(m_dialogs.messages.empty());
    const auto editor = fakes.AwaitStarts("notepad.exe", 1);
    ASSERT_EQ(editor.size(), 1u);
    EXPECT_EQ(editor[0]["argv"],
              std::vector<std::string>{(m_driveC / "work" / "model.out").string()});
}

TEST_F(ControlPanelFormTest, StopButtonEndsAHangingRunWithinASecond) {
    testing::FakePrograms fakes(m_prefix);
    ControlPanelForm* form = OpenFormToRun(fakes, "hang");

    std::chrono::steady_clock::time_point stopped;
    RunProbe probe(m_frame, 500, [&](wxDialog* running) {
        stopped = std::chrono::steady_clock::now();
        Click(XRCCTRL(*running, "stop", wxButton));
    });
    Click(form->FindWindow(kIdRunTspFile));
    const auto took = std::chrono::steady_clock::now() - stopped;

    ASSERT_TRUE(probe.Seen().runningWindowShown);
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_TRUE(m_frame->IsShown());
    EXPECT_EQ(m_dialogs.messages,
              std::vector<std::string>{"ファイルC:\\work\\model.outが発見できません!"});
}

}  // namespace
}  // namespace tamvel
