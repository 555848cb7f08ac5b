// The TSP command reference as a real window: its template's size and controls, the list's
// lines in order, the list box following the dialog's size, and a list that neither a
// selection nor a double click closes.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/listbox.h>

#include <functional>
#include <string>

#include "app/model_dialog.h"
#include "app/reference_list_layout.h"
#include "dialog_probe.h"
#include "platform/text.h"
#include "reference/tsp_command_dlg.h"
#include "reference/tsp_command_dlg_layout.h"
#include "reference/tsp_command_list.h"

namespace tamvel {
namespace {

void Settle(wxDialog& dialog) {
    for (int i = 0; i < 5; ++i) wxTheApp->Yield();
    dialog.Update();
}

TEST(ReferenceDialog, ShowsTheListInOrderFollowsItsSizeAndClosesOnlyByItsButton) {
    CTspCommandDlg reference;
    DialogModel model = reference.Model();
    bool checked = false;
    testing::DialogProbe probe([&](wxDialog& dialog) {
        checked = true;
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "TSPコマンド");
        EXPECT_FALSE(dialog.HasFlag(wxRESIZE_BORDER));
        // 290 x 226 dialog units of the dialog's own font.
        EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(290, 226)));
        auto* list = wxDynamicCast(dialog.FindWindow(kIdCommandListBox), wxListBox);
        auto* ok = wxDynamicCast(dialog.FindWindow(wxID_OK), wxButton);
        ASSERT_NE(list, nullptr);
        ASSERT_NE(ok, nullptr);
        ASSERT_EQ(list->GetCount(), kTspCommandLineCount);
        for (unsigned i = 0; i < list->GetCount(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(list->GetString(i).utf8_string(),
                      Cp932ToUtf8(TspCommandLines()[i]).value_or("?"));
        }

        // Sizes that the person cannot make, the program can: the list box follows each.
        const int unit = SystemVerticalBaseUnit(dialog);
        for (const wxSize client : {wxSize(400, 300), wxSize(250, 500), wxSize(600, 420)}) {
            SCOPED_TRACE(client.GetWidth());
            dialog.SetClientSize(client);
            Settle(dialog);
            const wxSize actual = dialog.GetClientSize();
            const ListBoxPlace place = PlaceListBox(actual.GetWidth(), actual.GetHeight(), unit,
                                                    ok->GetRect().GetBottom() + 1);
            EXPECT_EQ(list->GetRect(), wxRect(place.x, place.y, place.width, place.height));
            EXPECT_FALSE(list->GetRect().Intersects(ok->GetRect()));
        }

        // A selection and a double click leave the dialog open.
        list->SetSelection(14);
        wxCommandEvent selected(wxEVT_LISTBOX, kIdCommandListBox);
        selected.SetInt(14);
        list->GetEventHandler()->ProcessEvent(selected);
        wxCommandEvent doubleClicked(wxEVT_LISTBOX_DCLICK, kIdCommandListBox);
        doubleClicked.SetInt(14);
        list->GetEventHandler()->ProcessEvent(doubleClicked);
        Settle(dialog);
        EXPECT_TRUE(dialog.IsModal());

        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(ok);
        ok->GetEventHandler()->ProcessEvent(click);
    });
    EXPECT_EQ(ShowModelDialog(nullptr, model), kDialogOk);
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace tamvel
