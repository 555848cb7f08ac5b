// Entry point of the GUI tests: the toolkit is started once for the whole run (the tests run
// under Xvfb), then GoogleTest runs every test on the main thread.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv)) return 2;
    wxTheApp->CallOnInit();
    int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
