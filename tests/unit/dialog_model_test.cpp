#include "ui/dialog_model.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "console/console_ui.h"
#include "console/event_writer.h"
#include "platform/text.h"

namespace tamvel {
namespace {

TEST(DialogModelTest, TypingStopsAtTheLimitInCp932BytesOnCharacterBoundaries) {
    const struct {
        const char* name;
        std::size_t limit;
        const char* typed;  // UTF-8
        const char* kept;
        bool whole;
    } cases[] = {
        {"four double-byte characters fill eight bytes", 8, "山田太郎", "山田太郎", true},
        {"a fifth is refused", 8, "山田太郎花", "山田太郎", false},
        {"a double-byte character does not go in half", 7, "山田太郎", "山田太", false},
        {"single-byte katakana take one byte each", 4, "ｱｲｳｴｵ", "ｱｲｳｴ", false},
        {"no limit", 0, "山田太郎花子", "山田太郎花子", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogModel dialog(131);
        dialog.AddEdit(1000, c.limit);
        EXPECT_EQ(dialog.Type(1000, Cp932(c.typed)), c.whole);
        EXPECT_EQ(dialog.Text(1000), Cp932(c.kept));
    }
}

TEST(DialogModelTest, ClicksRunHandlersAndOkRunsTheValidation) {
    DialogModel dialog(130);
    dialog.AddEdit(1);
    dialog.AddRadio(2, true);
    dialog.AddRadio(3);
    dialog.AddCheck(4, true);
    dialog.AddButton(5, [](DialogModel& d) { d.SetText(1, "clicked"); });
    dialog.AddButton(6).enabled = false;
    dialog.SetValidator([](DialogModel& d) { return !d.Text(1).empty(); });

    EXPECT_FALSE(dialog.Ok());  // the edit is empty: the dialog stays open
    EXPECT_TRUE(dialog.Click(5));
    EXPECT_EQ(dialog.Text(1), "clicked");
    EXPECT_TRUE(dialog.Ok());
    EXPECT_FALSE(dialog.Click(6));   // disabled
    EXPECT_FALSE(dialog.Click(1));   // not a button
    EXPECT_FALSE(dialog.Click(99));  // no such control

    dialog.SetChecked(3, true);  // one radio button of a group at a time
    EXPECT_FALSE(dialog.Checked(2));
    EXPECT_TRUE(dialog.Checked(3));
    EXPECT_TRUE(dialog.Checked(4));  // a check box is not in the group
}

// Check boxes and radio buttons are automatic: a click toggles or sets the box, then its
// handler sees the new state. A front-end whose toolkit toggled it runs the handler alone.
TEST(DialogModelTest, BoxClicksToggleBeforeTheirHandlersAndInitRunsOnce) {
    DialogModel dialog(131);
    std::vector<std::string> seen;
    auto record = [&seen](int id) {
        return [&seen, id](DialogModel& d) {
            seen.push_back(std::to_string(id) + (d.Checked(id) ? " on" : " off"));
        };
    };
    dialog.AddCheck(1).onClick = record(1);
    dialog.AddRadio(2, true).onClick = record(2);
    dialog.AddRadio(3).onClick = record(3);
    dialog.AddEdit(4).readOnly = true;
    int inits = 0;
    dialog.SetInitHandler([&inits](DialogModel&) { ++inits; });

    EXPECT_TRUE(dialog.Click(1));
    EXPECT_TRUE(dialog.Click(1));
    EXPECT_TRUE(dialog.Click(3));
    EXPECT_TRUE(dialog.Click(3));  // a radio button that is on stays on
    EXPECT_TRUE(dialog.RunClickHandler(1));
    EXPECT_EQ(seen, (std::vector<std::string>{"1 on", "1 off", "3 on", "3 on", "1 off"}));
    EXPECT_FALSE(dialog.Checked(2));
    EXPECT_FALSE(dialog.Click(4));
    EXPECT_FALSE(dialog.Type(4, "x"));  // read-only: only the program writes it
    dialog.SetText(4, "set");
    EXPECT_EQ(dialog.Text(4), "set");
    dialog.Init();
    EXPECT_EQ(inits, 1);
}

// The console shows a dialog as events and takes set, click, state, ok and cancel in it.
TEST(DialogModelTest, ConsoleShowsTheDialogAndReportsRefusedInput) {
    const struct {
        const char* name;
        std::string input;
        std::string output;
        int result;
    } cases[] = {
        {"typed and confirmed", "set 1000 山田\nstate\nok\n",
         "{\"event\":\"dialog\",\"id\":131,\"controls\":{\"1000\":\"\",\"1001\":false}}\n"
         "{\"event\":\"dialog\",\"id\":131,\"controls\":{\"1000\":\"山田\",\"1001\":false}}\n"
         "{\"event\":\"dialog-closed\",\"id\":131,\"result\":1}\n",
         kDialogOk},
        {"errors keep it open", "set 1000 山田太郎花\nset 7 x\nclick 1000\nquit\nbogus\ncancel\n",
         "{\"event\":\"dialog\",\"id\":131,\"controls\":{\"1000\":\"\",\"1001\":false}}\n"
         "{\"event\":\"error\",\"text\":\"field 1000 takes 8 bytes; the rest was refused\"}\n"
         "{\"event\":\"error\",\"text\":\"no field 7 in dialog 131\"}\n"
         "{\"event\":\"error\",\"text\":\"no enabled button 1000 in dialog 131\"}\n"
         "{\"event\":\"error\",\"text\":\"a dialog is open: ok or cancel closes it\"}\n"
         "{\"event\":\"error\",\"text\":\"unknown command 'bogus'\"}\n"
         "{\"event\":\"dialog-closed\",\"id\":131,\"result\":2}\n",
         kDialogCancel},
        {"the end of input cancels", "",
         "{\"event\":\"dialog\",\"id\":131,\"controls\":{\"1000\":\"\",\"1001\":false}}\n"
         "{\"event\":\"dialog-closed\",\"id\":131,\"result\":2}\n",
         kDialogCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.input);
        std::ostringstream out;
        EventWriter events(out);
        ConsoleUi ui(in, events);
        DialogModel dialog(131);
        dialog.AddEdit(1000, 8);
        dialog.AddCheck(1001);
        EXPECT_EQ(ui.RunDialog(dialog), c.result);
        EXPECT_EQ(out.str(), c.output);
    }
}

// A field that holds a full path takes no relative one from the console: it would be taken
// from whatever folder is current. The error says so and the field keeps its text.
TEST(DialogModelTest, ConsoleRefusesARelativePathInAPathField) {
    std::istringstream in("set 1015 sub\nset 1015 C:sub\nset 1015 C:\\work\nok\n");
    std::ostringstream out;
    EventWriter events(out);
    ConsoleUi ui(in, events);
    DialogModel dialog(130);
    dialog.AddEdit(1015).absolutePath = true;
    EXPECT_EQ(ui.RunDialog(dialog), kDialogOk);
    EXPECT_EQ(dialog.Text(1015), "C:\\work");
    const std::string refused =
        "{\"event\":\"error\",\"text\":\"field 1015 takes an absolute Windows path (such as "
        "C:\\\\temp\\\\a.tsp)\"}\n";
    EXPECT_EQ(out.str(), "{\"event\":\"dialog\",\"id\":130,\"controls\":{\"1015\":\"\"}}\n" +
                             refused + refused +
                             "{\"event\":\"dialog-closed\",\"id\":130,\"result\":1}\n");
}

}  // namespace
}  // namespace tamvel
