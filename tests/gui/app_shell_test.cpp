// The application shell under Xvfb: the splash screen's input filter and timer and the About
// box in this process; the running-copy rule, the caption and the document keys against the
// real program, started with its own configuration, runtime and prefix folders.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <wx/button.h>
#include <wx/eventfilter.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/about_dlg.h"
#include "app/folder_browser.h"
#include "app/splash_wnd.h"
#include "platform/process.h"
#include "platform/unique_fd.h"
#include "support/tamvel_without_engine.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

/// Runs the toolkit's events until `done` holds or `timeout` passes; whether it holds.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        wxYield();
        wxMilliSleep(10);
    }
    return true;
}

void Pump(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

/// What the program's application object does with every event: the splash sees it first.
class SplashFilter : public wxEventFilter {
  public:
    SplashFilter() { wxEvtHandler::AddFilter(this); }
    ~SplashFilter() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override {
        return CSplashWnd::PreTranslateAppMessage(event) ? Event_Processed : Event_Skip;
    }
};

/// A window away from the splash (which stands in the middle of the screen) with a button
/// and a field that count what reaches them.
class SplashFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        m_frame = new wxFrame(nullptr, wxID_ANY, "other window", wxPoint(0, 0), wxSize(300, 120));
        m_button = new wxButton(m_frame, wxID_ANY, "press", wxPoint(10, 10), wxSize(120, 40));
        m_field = new wxTextCtrl(m_frame, wxID_ANY, "", wxPoint(10, 60), wxSize(200, -1));
        m_button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ++m_presses; });
        m_frame->Show();
        ASSERT_TRUE(PumpUntil([this] { return m_frame->IsShownOnScreen(); }, 2s));
        Pump(100ms);
        CSplashWnd::EnableSplashScreen(true);
    }
    void TearDown() override {
        CSplashWnd::HideSplashScreen();
        m_frame->Destroy();
        Pump(50ms);
    }
    void ClickButton() {
        wxUIActionSimulator input;
        input.MouseMove(m_button->GetScreenRect().GetPosition() + wxPoint(20, 20));
        Pump(50ms);
        input.MouseClick();
        Pump(200ms);
    }

    SplashFilter m_filter;
    wxFrame* m_frame = nullptr;
    wxButton* m_button = nullptr;
    wxTextCtrl* m_field = nullptr;
    int m_presses = 0;
};

TEST_F(SplashFixture, ClickWhileUpOnlyDismissesAndTheNextClickActs) {
    CSplashWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    EXPECT_FALSE(CSplashWnd::Current()->GetScreenRect().Intersects(m_button->GetScreenRect()));

    ClickButton();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(m_presses, 0);

    ClickButton();
    EXPECT_EQ(m_presses, 1);
}

TEST_F(SplashFixture, KeyWhileUpOnlyDismissesAndTheNextKeyTypes) {
    m_field->SetFocus();
    Pump(100ms);
    CSplashWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    m_field->SetFocus();
    Pump(100ms);

    wxUIActionSimulator input;
    input.Char('x');
    Pump(200ms);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(m_field->GetValue(), "");

    input.Char('y');
    Pump(200ms);
    EXPECT_EQ(m_field->GetValue(), "y");
}

TEST_F(SplashFixture, GoesAwayByItselfAfterTwoSeconds) {
    const auto start = std::chrono::steady_clock::now();
    CSplashWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    const wxRect area = CSplashWnd::Current()->GetScreenRect();
    EXPECT_EQ(area.GetSize(), wxSize(640, 480));
    const wxSize margin = (wxGetDisplaySize() - area.GetSize()) / 2;
    EXPECT_EQ(area.GetPosition(), wxPoint(margin.x, margin.y));

    CSplashWnd::ShowSplashScreen(nullptr);  // at most one at a time
    ASSERT_TRUE(PumpUntil([] { return CSplashWnd::Current() == nullptr; }, 4s));
    const auto shown = std::chrono::steady_clock::now() - start;
    EXPECT_GE(shown, 1900ms);
    EXPECT_LT(shown, 3000ms);
}

// A chooser and a message box run loops of their own, which the filter does not see: what is
// meant for them goes through while the splash stays up; the same key elsewhere dismisses it.
TEST_F(SplashFixture, WhatIsMeantForAChooserGoesThrough) {
    DriveMap drives(fs::temp_directory_path() / "no-such-prefix");
    FolderBrowser browser(m_frame, drives);
    CSplashWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    for (wxWindow* target : {static_cast<wxWindow*>(&browser), browser.FindWindow(wxID_CANCEL)}) {
        for (wxEventType type :
             std::vector<wxEventType>{wxEVT_CHAR_HOOK, wxEVT_KEY_DOWN, wxEVT_LEFT_DOWN}) {
            wxKeyEvent key(type);
            wxMouseEvent click(wxEVT_LEFT_DOWN);
            wxEvent& event = type == wxEVT_LEFT_DOWN ? static_cast<wxEvent&>(click) : key;
            event.SetEventObject(target);
            EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(event));
        }
    }
    EXPECT_NE(CSplashWnd::Current(), nullptr);

    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.SetEventObject(m_field);
    EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(key));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

TEST_F(SplashFixture, WithoutSplashEveryEventGoesThrough) {
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(nullptr);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);

    wxKeyEvent key(wxEVT_KEY_DOWN);
    wxKeyEvent hook(wxEVT_CHAR_HOOK);
    wxMouseEvent left(wxEVT_LEFT_DOWN), right(wxEVT_RIGHT_DOWN), middle(wxEVT_MIDDLE_DOWN);
    for (const wxEvent* event :
         std::initializer_list<const wxEvent*>{&key, &hook, &left, &right, &middle}) {
        EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(*event));
    }

    // While it is up, only keys and buttons going down dismiss it.
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(nullptr);
    wxMouseEvent motion(wxEVT_MOTION), leftUp(wxEVT_LEFT_UP);
    wxKeyEvent keyUp(wxEVT_KEY_UP);
    for (const wxEvent* event : std::initializer_list<const wxEvent*>{&motion, &leftUp, &keyUp}) {
        EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(*event));
    }
    EXPECT_NE(CSplashWnd::Current(), nullptr);
    EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(right));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(right));
}

TEST(AboutBoxTest, IsLaidOutInDialogUnitsWithItsTexts) {
    CAboutDlg about(nullptr);
    ASSERT_TRUE(about.GetHandle());
    EXPECT_EQ(about.GetTitle().utf8_string(), "Tamvelのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(about.GetClientSize(), about.ConvertDialogToPixels(wxSize(235, 55)));
    auto* ok = wxDynamicCast(about.FindWindow(wxID_OK), wxButton);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetPosition(), about.ConvertDialogToPixels(wxPoint(176, 31)));
    EXPECT_EQ(ok->GetSize(), about.ConvertDialogToPixels(wxSize(50, 14)));
    EXPECT_EQ(about.GetDefaultItem(), ok);
    auto* version = wxDynamicCast(about.FindWindow("version"), wxStaticText);
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(version->GetLabel().StartsWith("Tamvel Version 1.0"));
    EXPECT_EQ(version->GetPosition(), about.ConvertDialogToPixels(wxPoint(40, 10)));
}

// ---------------------------------------------------------------------------------------
// The real program. A window manager runs for these tests: minimising, raising and the
// active window are its business.

/// Runs a command and gives its standard output.
std::string Capture(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        std::array<char, 4096> buffer;
        while (std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
            output.append(buffer.data(), count);
        }
        ::pclose(pipe);
    }
    return output;
}

/// A top-level window as the window manager lists it.
struct Window {
    unsigned long id = 0;
    pid_t pid = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string title;
};

std::vector<Window> ListWindows() {
    std::vector<Window> windows;
    std::istringstream lines(Capture("wmctrl -lpG"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string id, desktop, host;
        Window window;
        fields >> id >> desktop >> window.pid >> window.x >> window.y >> window.width >>
            window.height >> host;
        window.id = std::stoul(id, nullptr, 16);
        std::getline(fields, window.title);
        if (!window.title.empty() && window.title.front() == ' ') window.title.erase(0, 1);
        windows.push_back(window);
    }
    return windows;
}

std::optional<Window> FindWindow(pid_t pid, const std::function<bool(const Window&)>& match) {
    for (const Window& window : ListWindows()) {
        if (window.pid == pid && match(window)) return window;
    }
    return std::nullopt;
}

unsigned long ActiveWindow() {
    const std::string text = Capture("xprop -root _NET_ACTIVE_WINDOW");
    const std::size_t hash = text.find("# ");
    return hash == std::string::npos ? 0 : std::stoul(text.substr(hash + 2), nullptr, 16);
}

bool IsMinimised(unsigned long id) {
    return Capture("xprop -id " + std::to_string(id) + " WM_STATE").find("Iconic") !=
           std::string::npos;
}

/// Polls `done` until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(30ms);
    }
    return true;
}

/// Starts a program found on $PATH (or by path) with `env` added to the environment and its
/// output discarded.
ChildProcess Spawn(const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& env = {}) {
    SpawnOptions options;
    options.discardOutput = true;
    for (const auto& [key, value] : env) options.environment.push_back(key + "=" + value);
    return ChildProcess::Spawn(FindOnPath(arguments.front()),
                               {arguments.begin() + 1, arguments.end()}, options)
        .child;
}

constexpr const char* kSeminar = "テストゼミ";
const std::string kMainCaption = std::string(kSeminar) + "　ＴＳＰユティリティプログラム";

class RunningCopyTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (Capture("command -v openbox wmctrl xdotool xprop").empty()) return;
        s_windowManager = Spawn({"openbox"});
        WaitUntil([] { return !Capture("wmctrl -m").empty(); }, 5s);
    }
    static void TearDownTestSuite() { s_windowManager.Terminate(); }

    void SetUp() override {
        if (!s_windowManager.Valid())
            GTEST_SKIP() << "openbox, wmctrl, xdotool or xprop is missing";
        ASSERT_FALSE(m_temp.Path().empty());
        m_root = m_temp.Path();
        for (const char* folder : {"data", "config", "runtime"})
            fs::create_directories(m_root / folder);
        fs::permissions(m_root / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        std::ofstream(m_root / "deployment.conf") << "seminar=" << kSeminar << "\n";
        InstallTsp(true);
        m_env = {{"XDG_DATA_HOME", (m_root / "data").string()},
                 {"XDG_CONFIG_HOME", (m_root / "config").string()},
                 {"XDG_RUNTIME_DIR", (m_root / "runtime").string()},
                 {"TAMVEL_PREFIX", (m_root / "prefix").string()},
                 {"TAMVEL_DEPLOYMENT", (m_root / "deployment.conf").string()}};
    }
    void TearDown() override {
        for (auto& [pid, child] : m_started) Stop(pid);
    }

    /// With TSP at its installed place start-up asks nothing; without, it shows one message
    /// first.
    void InstallTsp(bool installed) {
        const fs::path tsp = m_root / "prefix/drive_c/Program Files (x86)/TSP 5.1/tsp.exe";
        if (installed) {
            fs::create_directories(tsp.parent_path());
            std::ofstream(tsp) << "tsp";
        } else {
            fs::remove(tsp);
        }
    }
    pid_t Start(std::vector<std::string> arguments = {},
                const std::string& program = TAMVEL_BINARY) {
        arguments.insert(arguments.begin(), program);
        return Keep(Spawn(arguments, m_env));
    }
    /// Keeps a started program until the test ends; its process id, or -1.
    pid_t Keep(ChildProcess child) {
        const pid_t pid = child.Pid();
        if (child.Valid()) m_started.emplace(pid, std::move(child));
        return pid;
    }
    /// The exit code of `pid` once it has ended within `timeout`, else nullopt.
    std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout) {
        const WaitResult result = m_started[pid].WaitFor(timeout);
        if (result.end != WaitEnd::ChildEnded) return std::nullopt;
        return result.exitCode;
    }
    /// Ends `pid` at once, as a crash would.
    void Stop(pid_t pid) {
        m_started[pid].Signal(SIGKILL);
        m_started[pid].Wait();
    }
    /// True while `pid` runs.
    bool StillRunning(pid_t pid) { return m_started[pid].Running(); }
    /// Starts a copy that must only bring the running one forward: it ends at once with 0.
    void StartSecondCopy(std::vector<std::string> arguments = {}) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t second = Start(std::move(arguments));
        ASSERT_GT(second, 0);
        EXPECT_EQ(WaitForExit(second, 5s), std::optional<int>(0));
        m_started.erase(second);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    }
    std::optional<Window> MainWindow(pid_t pid, const std::string& caption = kMainCaption) {
        std::optional<Window> found;
        WaitUntil([&] {
            return (found = FindWindow(pid, [&](const Window& w) { return w.title == caption; }))
                .has_value();
        });
        return found;
    }
    std::optional<Window> MessageBox(pid_t pid) {
        std::optional<Window> found;
        WaitUntil([&] {
            return (found = FindWindow(pid, [](const Window& w) { return w.title == "Tamvel"; }))
                .has_value();
        });
        return found;
    }
    std::string RecentFilesText() const {
        std::ifstream in(m_root / "config/Local AppWizard-Generated Applications/Tamvel.conf");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static ChildProcess s_windowManager;
    testing::TempFolder m_temp{"shell"};
    fs::path m_root;
    std::map<std::string, std::string> m_env;
    std::map<pid_t, ChildProcess> m_started;
};

ChildProcess RunningCopyTest::s_windowManager;

TEST_F(RunningCopyTest, SecondCopyRestoresAndRaisesTheMinimisedFirstAndIgnoresItsFile) {
    const pid_t first = Start();
    const std::optional<Window> main = MainWindow(first);
    ASSERT_TRUE(main);
    ASSERT_EQ(Capture("xdotool windowminimize --sync " + std::to_string(main->id)), "");
    ASSERT_TRUE(WaitUntil([&] { return IsMinimised(main->id); }));

    const fs::path ignored = m_root / "ignored.tsp";
    std::ofstream(ignored) << "x";
    StartSecondCopy({ignored.string()});
    EXPECT_TRUE(
        WaitUntil([&] { return !IsMinimised(main->id) && ActiveWindow() == main->id; }, 5s));
    EXPECT_EQ(RecentFilesText().find("ignored.tsp"), std::string::npos);
    EXPECT_TRUE(MainWindow(first));  // caption untouched: the document was not renewed
}

TEST_F(RunningCopyTest, SecondCopyBringsTheFirstCopysMessageBoxToTheFront) {
    const pid_t first = Start();
    const std::optional<Window> main = MainWindow(first);
    ASSERT_TRUE(main);
    // Renewing the document reruns start-up, which now misses TSP and says so.
    InstallTsp(false);
    Capture("xdotool windowactivate --sync " + std::to_string(main->id) + " key ctrl+n");
    const std::optional<Window> box = MessageBox(first);
    ASSERT_TRUE(box);

    Keep(Spawn({"xmessage", "-geometry", "1000x800+0+0", "another program"}));
    std::optional<Window> otherWindow;
    ASSERT_TRUE(WaitUntil([&] {
        for (const Window& window : ListWindows()) {
            if (window.title == "xmessage") otherWindow = window;  // it names no process id
        }
        return otherWindow.has_value();
    }));
    Capture("xdotool windowactivate --sync " + std::to_string(otherWindow->id));
    ASSERT_TRUE(WaitUntil([&] { return ActiveWindow() == otherWindow->id; }, 5s));

    StartSecondCopy();
    EXPECT_TRUE(WaitUntil([&] { return ActiveWindow() == box->id; }, 5s));
    const std::string stacking = Capture("xprop -root _NET_CLIENT_LIST_STACKING");
    const std::string boxId = Capture("printf '0x%x' " + std::to_string(box->id));
    EXPECT_EQ(stacking.substr(stacking.rfind(' ') + 1, boxId.size()), boxId) << stacking;
}

TEST_F(RunningCopyTest, SecondCopyWhileTheFirstIsStartingEndsSilently) {
    InstallTsp(false);
    const pid_t first = Start({}, testing::TamvelWithoutEngine(m_root / "bin"));
    const std::optional<Window> box = MessageBox(first);  // start-up waits on its message
    ASSERT_TRUE(box);
    EXPECT_FALSE(FindWindow(first, [](const Window& w) { return w.title == kMainCaption; }));

    StartSecondCopy();
    EXPECT_TRUE(StillRunning(first));
    EXPECT_TRUE(FindWindow(first, [&](const Window& w) { return w.id == box->id; }));
}

TEST_F(RunningCopyTest, CrashedCopyDoesNotBlockAndOtherNamesRunSideBySide) {
    const pid_t crashing = Start();
    ASSERT_TRUE(MainWindow(crashing));
    Stop(crashing);
    m_started.erase(crashing);

    const pid_t next = Start();
    ASSERT_TRUE(MainWindow(next));

    const fs::path renamed = m_root / "tamvel-other";
    fs::create_symlink(TAMVEL_BINARY, renamed);
    const pid_t other = Start({}, renamed.string());
    EXPECT_TRUE(MainWindow(other));
    EXPECT_TRUE(StillRunning(next));
}

TEST_F(RunningCopyTest, FileOnTheCommandLineIsRecordedAndCtrlNRenewsTheCaption) {
    const fs::path file = m_root / "model.tsp";
    std::ofstream(file) << "ols y c x;\n";
    const pid_t first = Start({file.string()});
    std::optional<Window> main = MainWindow(first);
    ASSERT_TRUE(main);
    EXPECT_NE(RecentFilesText().find("File1=" + file.string() + "\n"), std::string::npos);

    // The splash stands in the middle; a click on it only takes it away.
    const auto splashUp = [&] {
        return FindWindow(first, [](const Window& w) { return w.width == 640 && w.height == 480; });
    };
    // The splash may be mapped a moment after the main window, which no start-up message
    // holds back now that the prefix has its TSP.
    ASSERT_TRUE(WaitUntil([&] { return splashUp().has_value(); }, 1s));
    const std::optional<Window> splash = splashUp();
    ASSERT_TRUE(splash);
    Capture("xdotool mousemove " + std::to_string(splash->x + 320) + " " +
            std::to_string(splash->y + 100) + " click 1");
    EXPECT_TRUE(WaitUntil([&] { return !splashUp(); }, 1s));

    Capture("xdotool windowactivate --sync " + std::to_string(main->id) + " key ctrl+n");
    EXPECT_TRUE(MainWindow(first, "無題 - Tamvel"));
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "ols y c x;\n");

    // The desktop learnt the file type for this user.
    EXPECT_TRUE(fs::exists(m_root / "data/applications/tamvel.desktop"));
    EXPECT_TRUE(fs::exists(m_root / "data/mime/packages/tamvel.xml"));
}

// Clients on the one-copy socket that send nothing never hold up a later copy: it has its
// answer, and the first copy comes forward at once.
TEST_F(RunningCopyTest, IdleClientsOnTheSocketDoNotHoldUpASecondCopy) {
    const pid_t first = Start();
    const std::optional<Window> main = MainWindow(first);
    ASSERT_TRUE(main);
    const fs::path socketPath =
        m_root / "runtime" / ("tamvel-" + std::to_string(::getuid()) + ".socket");
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(socketPath); }));
    std::vector<UniqueFd> idle;
    for (int i = 0; i < 30; ++i) {
        UniqueFd client(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(::connect(client.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)),
                  0);
        idle.push_back(std::move(client));
    }
    Capture("xdotool windowminimize --sync " + std::to_string(main->id));
    StartSecondCopy();  // its connect and request are timed in the endpoint's own test
    EXPECT_TRUE(WaitUntil([&] { return !IsMinimised(main->id); }, 5s));
}

// A logout (SIGTERM), a closed terminal (SIGHUP) and Ctrl+C (SIGINT) end the program as its
// close box does: the environment saved, the endpoint gone, exit status 0.
TEST_F(RunningCopyTest, ATerminatingSignalEndsTheProgramAsItsCloseBoxDoes) {
    const fs::path envFile = m_root / "prefix/drive_c/temp/TamvelEnvFile.TXT";
    const fs::path socketPath =
        m_root / "runtime" / ("tamvel-" + std::to_string(::getuid()) + ".socket");
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        fs::remove(envFile);
        const pid_t first = Start();
        ASSERT_TRUE(MainWindow(first));
        ASSERT_TRUE(WaitUntil([&] { return fs::exists(socketPath); }));
        m_started[first].Signal(signal);
        EXPECT_EQ(WaitForExit(first, 5s), std::optional<int>(0));
        m_started.erase(first);
        EXPECT_TRUE(fs::exists(envFile));
        EXPECT_FALSE(fs::exists(socketPath));
    }
}

// A signal while a start-up message waits cancels it, and start-up runs to its end with
// every later message and chooser cancelled, as at the end of the console's input: the
// stored environment is read before it is saved again, never written over with defaults.
TEST_F(RunningCopyTest, ASignalDuringStartUpKeepsTheStoredEnvironment) {
    InstallTsp(false);  // start-up stops at its first message, before the file is read
    const fs::path stick = m_root / "stick";
    const fs::path dosdevices = m_root / "prefix/dosdevices";
    fs::create_directories(stick);
    fs::create_directories(dosdevices);
    fs::create_directory_symlink("../drive_c", dosdevices / "c:");
    fs::create_directory_symlink(stick, dosdevices / "a:");
    const std::string text =
        "TspExe|C:\\temp\\Tsp.EXE;Editor|A:\\edit.exe;SaveFolder|A:\\;"
        "TspFile|A:\\kept.tsp;";
    std::ofstream(stick / "TamvelEnvFile.TXT", std::ios::binary)
        << static_cast<char>(text.size()) << text;

    const pid_t first = Start({}, testing::TamvelWithoutEngine(m_root / "bin"));
    ASSERT_TRUE(MessageBox(first));
    m_started[first].Signal(SIGTERM);
    EXPECT_EQ(WaitForExit(first, 5s), std::optional<int>(0));
    m_started.erase(first);
    std::ifstream in(stick / "TamvelEnvFile.TXT", std::ios::binary);
    const std::string saved(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(saved.find(";SaveFolder|A:\\;TspFile|A:\\kept.tsp;"), std::string::npos) << saved;
}

// A chooser of the program's own, open when the signal comes, is cancelled as its Cancel
// button would: start-up goes on to its end and the program ends with the settings saved.
TEST_F(RunningCopyTest, ASignalWhileAChooserIsOpenCancelsItAndEnds) {
    InstallTsp(false);
    const pid_t first = Start({}, testing::TamvelWithoutEngine(m_root / "bin"));
    const std::optional<Window> box = MessageBox(first);
    ASSERT_TRUE(box);
    Capture("xdotool windowactivate --sync " + std::to_string(box->id) + " key Return");
    std::optional<Window> chooser;
    ASSERT_TRUE(WaitUntil([&] {
        return (chooser =
                    FindWindow(first, [](const Window& w) { return w.title == "ファイルの選択"; }))
            .has_value();
    }));
    m_started[first].Signal(SIGTERM);
    EXPECT_EQ(WaitForExit(first, 5s), std::optional<int>(0));
    m_started.erase(first);
    EXPECT_TRUE(fs::exists(m_root / "prefix/drive_c/temp/TamvelEnvFile.TXT"));
}

// The X server going away (the session's display ended) saves the environment and releases
// the endpoint before the program ends, as the close box would.
TEST_F(RunningCopyTest, LosingTheDisplayEndsTheProgramAsItsCloseBoxDoes) {
    int number = 150 + ::getpid() % 50;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
    const std::string display = ":" + std::to_string(number);
    ChildProcess server = Spawn({"Xvfb", display, "-nolisten", "tcp"});
    ASSERT_TRUE(server.Valid());
    ASSERT_TRUE(
        WaitUntil([&] { return fs::exists("/tmp/.X11-unix/X" + std::to_string(number)); }, 5s));
    m_env["DISPLAY"] = display;
    const fs::path socketPath =
        m_root / "runtime" / ("tamvel-" + std::to_string(::getuid()) + ".socket");
    const pid_t first = Start();
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(socketPath); }, 10s));  // fully started

    server.Signal(SIGKILL);
    server.Wait();
    EXPECT_EQ(WaitForExit(first, 5s), std::optional<int>(0));
    m_started.erase(first);
    EXPECT_TRUE(fs::exists(m_root / "prefix/drive_c/temp/TamvelEnvFile.TXT"));
    EXPECT_FALSE(fs::exists(socketPath));
}

}  // namespace
}  // namespace tamvel
