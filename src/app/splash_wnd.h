#pragma once
// The splash screen: the program's picture, put up while the main frame is created and kept
// in front of the start-up messages for two seconds, or until a key or a mouse button goes
// down anywhere in the program. The input that dismisses it does nothing else.

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

class wxEvent;
class wxPaintEvent;
class wxTimerEvent;

namespace tamvel {

class CSplashWnd : public wxFrame {
  public:
    /// How long the picture stays without input.
    static constexpr int kShowMilliseconds = 2000;

    /// Whether ShowSplashScreen puts anything up (false until called with true).
    static void EnableSplashScreen(bool enable);

    /// Puts the splash up, owned by `parent` (or none), unless it is disabled or already
    /// up. Without a picture or a window: no splash, no message.
    static void ShowSplashScreen(wxWindow* parent);

    /// The input filter, given every event the program handles: a key or mouse button going
    /// down while the splash is up hides it, and the event is consumed (true). Otherwise
    /// false: the event goes on as usual, as does all that is meant for a chooser.
    static bool PreTranslateAppMessage(const wxEvent& event);

    /// Hides the splash, if up, and repaints the main window at once.
    static void HideSplashScreen();

    /// The splash window that is up, or null.
    static CSplashWnd* Current() { return s_current; }

  private:
    CSplashWnd(wxWindow* parent, const wxBitmap& picture);
    ~CSplashWnd() override;

    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);

    wxBitmap m_picture;
    wxTimer m_timer;

    static bool s_enabled;
    static CSplashWnd* s_current;
};

}  // namespace tamvel
