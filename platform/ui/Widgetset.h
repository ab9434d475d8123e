// The backend interface: what a widgetset does for the platform's controls and forms.
//
// All behaviour lives in the platform classes (Controls.h, Forms.h). A widgetset only shows
// them: it creates a peer when a windowed control gets its handle, updates the peer when a
// property it shows changes, destroys it with the handle, measures text, keeps the clock and
// the timers, and hands user input back through the same entry points the automation interface
// uses (TInput in Forms.h). The nogui widgetset (platform/widgetset/nogui) is installed by
// default; a desktop backend is installed with SetWidgetset before the first form is created.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/Messages.h"

namespace kv {

class TControl;
class TWinControl;
class TCustomForm;
class TFont;

// What changed on a control, so that a backend refreshes only that part of its peer.
enum class TPeerChange : int {
    Bounds,
    Text,
    Visible,
    Enabled,
    Font,
    Color,
    Focus,
    Parent,
    WindowState,
    Paint,  // the control must be drawn again
    Other,  // a control-specific property (items, checked state, ...)
};

// The answer of a backend asked for input while the message queue is empty.
enum class TIdleResult {
    Progress,  // input was delivered or time passed: look at the queue again
    NoInput,   // no input will come (headless and nothing scripted)
};

// Width and height of a text as the backend would draw it, in pixels.
struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

class TWidgetset {
public:
    virtual ~TWidgetset() = default;

    // The backend's name ("nogui", "qt").
    virtual std::string Name() const = 0;

    // Peers. CreatePeer runs when a windowed control's handle is created (parents first),
    // DestroyPeer when it is destroyed (children first). UpdatePeer may be called for controls
    // without a peer (graphic controls are drawn by their parent's peer).
    virtual void CreatePeer(TWinControl& control) = 0;
    virtual void DestroyPeer(TWinControl& control) = 0;
    virtual void UpdatePeer(TControl& control, TPeerChange change) = 0;

    // Called by a message loop that found its queue empty. A desktop backend waits for user
    // input and delivers it; a headless one answers NoInput at once and never blocks.
    // modalForm is the form whose modal loop is asking, or null for the main loop.
    virtual TIdleResult WaitForInput(TCustomForm* modalForm) = 0;

    // Milliseconds since the backend started (a virtual clock on the headless backend).
    virtual std::uint64_t TickCount() const = 0;
    // Lets the given time pass; due timers post their WM_TIMER messages.
    virtual void Sleep(std::uint64_t milliseconds) = 0;

    // Timers post WM_TIMER (WParam = id) to the window every interval milliseconds until
    // killed. Setting an existing (window, id) pair again restarts it with the new interval.
    virtual void SetTimer(HWND window, UINT id, UINT interval) = 0;
    virtual void KillTimer(HWND window, UINT id) = 0;

    // The size of one line of text in the font; the headless backend answers a deterministic
    // size derived from the font's height so that layout rules are testable.
    virtual TTextExtent TextExtent(const TFont& font, std::string_view text) const = 0;

    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;

    // The system's warning sound.
    virtual void Beep() = 0;
};

// The installed backend; the nogui widgetset until another one is installed.
TWidgetset& Widgetset();
// Installs a backend and returns the previous one. Install before any control has a handle:
// peers of the previous backend are not moved over.
std::unique_ptr<TWidgetset> SetWidgetset(std::unique_ptr<TWidgetset> widgetset);

}  // namespace kv
