#include "app/splash_wnd.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <cstddef>

#include "app/own_loop_dialog.h"

namespace tamvel {

// The picture, an 8-bit palette BMP drawn at build time (resources/make_splash.cpp).
extern const unsigned char kSplashBitmap[];
extern const std::size_t kSplashBitmapSize;

namespace {

wxBitmap LoadSplashPicture() {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_BMP)) wxImage::AddHandler(new wxBMPHandler);
    wxMemoryInputStream stream(kSplashBitmap, kSplashBitmapSize);
    wxImage image(stream, wxBITMAP_TYPE_BMP);
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

bool IsDismissingInput(wxEventType type) {
    // Key presses reach the program first as wxEVT_CHAR_HOOK: consuming that stops the key.
    return type == wxEVT_CHAR_HOOK || type == wxEVT_KEY_DOWN || type == wxEVT_LEFT_DOWN ||
           type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN;
}

}  // namespace

bool CSplashWnd::s_enabled = false;
CSplashWnd* CSplashWnd::s_current = nullptr;

void CSplashWnd::EnableSplashScreen(bool enable) { s_enabled = enable; }

void CSplashWnd::ShowSplashScreen(wxWindow* parent) {
    if (!s_enabled || s_current) return;
    const wxBitmap picture = LoadSplashPicture();
    if (!picture.IsOk()) return;
    auto* splash = new CSplashWnd(parent, picture);
    if (!splash->GetHandle()) {
        splash->Destroy();
        return;
    }
    s_current = splash;
    // Shown, not waited for: it is painted by the first event loop that runs, a start-up
    // message's or the main one, so it never holds back the main window.
    splash->Show();
}

bool CSplashWnd::PreTranslateAppMessage(const wxEvent& event) {
    if (!s_current || !IsDismissingInput(event.GetEventType())) return false;
    // A chooser runs a loop of its own, which the filter does not see.
    if (OwnLoopDialog::Contains(wxDynamicCast(event.GetEventObject(), wxWindow))) return false;
    HideSplashScreen();
    return true;
}

void CSplashWnd::HideSplashScreen() {
    CSplashWnd* splash = s_current;
    if (!splash) return;
    s_current = nullptr;
    splash->m_timer.Stop();
    splash->Hide();
    splash->Destroy();
    if (wxWindow* main = wxTheApp ? wxTheApp->GetTopWindow() : nullptr; main && main != splash) {
        main->Refresh();
        main->Update();
    }
}

CSplashWnd::CSplashWnd(wxWindow* parent, const wxBitmap& picture)
    : wxFrame(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, picture.GetSize(),
              wxBORDER_NONE | wxFRAME_NO_TASKBAR | wxSTAY_ON_TOP),
      m_picture(picture),
      m_timer(this) {
    // No border, so the size given above is the picture's. (Setting the client size again
    // before the first show leaves a borderless GTK window at 1 x 1.)
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // Over the owner when it is on the screen, else (as at start-up) over the screen.
    if (parent && parent->IsShown()) {
        CentreOnParent();
    } else {
        CentreOnScreen();
    }
    Bind(wxEVT_PAINT, &CSplashWnd::OnPaint, this);
    Bind(wxEVT_TIMER, &CSplashWnd::OnTimer, this);
    m_timer.StartOnce(kShowMilliseconds);
}

CSplashWnd::~CSplashWnd() {
    if (s_current == this) s_current = nullptr;
}

void CSplashWnd::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.DrawBitmap(m_picture, 0, 0, false);
}

void CSplashWnd::OnTimer(wxTimerEvent&) { HideSplashScreen(); }

}  // namespace tamvel
