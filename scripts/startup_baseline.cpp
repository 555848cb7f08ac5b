// The yardstick for bench-startup.sh: a minimal wx program that shows a frame with the
// control panel's controls (kinds, texts and dialog-unit rectangles of form 101), built by
// hand with no resources, no document and no checks. Its caption begins with "BENCH".

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/wx.h>

namespace {

enum class Kind { Button, Edit, Box, Text, Icon };

struct Control {
    Kind kind;
    int id;
    const char* label;
    wxRect units;  // dialog units
    bool hidden;
    bool readOnly;
};

const Control kControls[] = {
    {Kind::Button, 1000, "他の既存ＴＳＰファイルに変更", {25, 16, 112, 23}, false, false},
    {Kind::Button, 1001, "このＴＳＰファイルを変更", {138, 53, 103, 22}, false, false},
    {Kind::Button, 1002, "このＴＳＰファイルを実行", {23, 53, 113, 22}, false, false},
    {Kind::Button, 203, "実行結果ファイルを見る", {24, 111, 95, 22}, false, false},
    {Kind::Button, 1004, "実行結果ファイルを印刷する", {119, 111, 9, 18}, true, false},
    {Kind::Button, 1005, "ＴＳＰファイルを印刷", {158, 111, 6, 22}, true, false},
    {Kind::Button, 1016, "終了", {287, 141, 44, 37}, false, false},
    {Kind::Edit, 1007, "", {24, 39, 215, 14}, false, false},
    {Kind::Edit, 1008, "", {24, 96, 229, 14}, false, true},
    {Kind::Box, wxID_ANY, "実行結果を格納するファイル", {17, 84, 240, 53}, false, false},
    {Kind::Box, wxID_ANY, "ＴＳＰファイル", {14, 6, 230, 75}, false, false},
    {Kind::Box, wxID_ANY, "", {1, 2, 337, 270}, false, false},
    {Kind::Button,
     210,
     "環境設定\n\n\nワープロ\n変更⇒\n\n保存場所\n変更⇒\n",
     {24, 189, 46, 70},
     false,
     false},
    {Kind::Edit, 212, "", {81, 194, 247, 12}, false, true},
    {Kind::Edit, 1014, "", {81, 218, 246, 12}, false, true},
    {Kind::Box, wxID_ANY, "", {18, 181, 317, 84}, false, false},
    {Kind::Button, 215, "新しいＴＳＰファイル作成", {138, 16, 102, 24}, false, false},
    {Kind::Box, wxID_ANY, "ＴＰＳ実行ファイル", {75, 185, 256, 23}, false, false},
    {Kind::Box, wxID_ANY, "ｴﾃﾞｨﾀ/ﾜｰﾌﾟﾛ", {75, 209, 256, 23}, false, false},
    {Kind::Icon, wxID_ANY, "", {131, 111, 20, 20}, false, false},
    {Kind::Edit, 1015, "", {81, 243, 246, 12}, false, true},
    {Kind::Box, wxID_ANY, "ＴＳＰファイル保存フォルダ", {76, 233, 255, 24}, false, false},
    {Kind::Button, 1018, "マクロ経済データ", {265, 101, 61, 17}, false, false},
    {Kind::Button, 1042, "TSPﾃﾞｰﾀ収集\n説明ｻｲﾄ", {123, 151, 51, 26}, false, false},
    {Kind::Button, 1043, "TSPコマンド\n一覧", {174, 151, 51, 26}, false, false},
    {Kind::Button, 1044, "TSPコマンド\n説明ｻｲﾄ\n(本学)", {230, 141, 48, 37}, false, false},
    {Kind::Button, 1045, "TSP\n使い方", {74, 151, 49, 26}, false, false},
    {Kind::Button, 1046, "この画面の\n使い方", {20, 151, 54, 27}, false, false},
    {Kind::Box, wxID_ANY, "ヘルプ（BENCH）", {16, 140, 212, 40}, false, false},
    {Kind::Button, 1019, "アクティブメイル", {254, 35, 74, 21}, false, false},
    {Kind::Button, 1020, "先生のホームページ", {254, 12, 74, 21}, false, false},
    {Kind::Button, 1021, "ウエブ・ディスク", {260, 69, 74, 19}, false, false},
    {Kind::Text, wxID_ANY, "teacher@example.ac.jp", {247, 58, 86, 8}, false, false},
    {Kind::Box, wxID_ANY, "データ収集", {260, 90, 73, 49}, false, false},
    {Kind::Button, 1022, "財務データ", {265, 118, 61, 17}, false, false},
};

class BaselineApp : public wxApp {
  public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY,
                                  wxString::FromUTF8("BENCH　ＴＳＰユティリティプログラム"));
        frame->SetFont(wxFont(9, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL,
                              false, "IPAPGothic"));
        auto* panel = new wxPanel(frame, wxID_ANY);
        const auto pixels = [&](const wxRect& units) {
            return wxRect(frame->ConvertDialogToPixels(units.GetPosition()),
                          frame->ConvertDialogToPixels(units.GetSize()));
        };
        for (const Control& c : kControls) {
            const wxRect r = pixels(c.units);
            const wxString label = wxString::FromUTF8(c.label);
            wxWindow* window = nullptr;
            switch (c.kind) {
                case Kind::Button:
                    window = new wxButton(panel, c.id, label, r.GetPosition(), r.GetSize());
                    break;
                case Kind::Edit:
                    window = new wxTextCtrl(panel, c.id, "", r.GetPosition(), r.GetSize(),
                                            c.readOnly ? wxTE_READONLY : 0);
                    break;
                case Kind::Box:
                    window = new wxStaticBox(panel, c.id, label, r.GetPosition(), r.GetSize());
                    break;
                case Kind::Text:
                    window = new wxStaticText(panel, c.id, label, r.GetPosition(), r.GetSize(),
                                              wxST_NO_AUTORESIZE);
                    break;
                case Kind::Icon:
                    window = new wxStaticBitmap(panel, c.id, wxBitmap(32, 32), r.GetPosition());
                    break;
            }
            if (c.hidden) window->Hide();
        }
        frame->SetClientSize(pixels(wxRect(0, 0, 341, 272)).GetSize());
        frame->Centre();
        frame->Show();
        return true;
    }
};

}  // namespace

wxIMPLEMENT_APP(BaselineApp);
