// The headless widgetset: shows nothing, keeps a record of every peer, runs a virtual clock and
// never blocks. Installed by default; tests and the host shell's scripted mode run on it.
//
// Time passes only when Sleep is called: due timers then post WM_TIMER (one per timer and
// Sleep, however many intervals passed, as the window system merges timer messages). Text is
// measured deterministically from the font's height: a character outside ASCII is as wide as
// the height, an ASCII one half as wide (rounded up); a line is the height plus 2 high.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/Widgetset.h"

namespace kv {

// What the headless backend knows of a windowed control.
struct TNoGuiPeer {
    std::string ClassName;
    std::string Name;
    std::string Text;
    TRect Bounds;
    bool Visible = false;
    bool Enabled = true;
    int Updates = 0;  // how often the platform asked for an update
};

class TNoGuiWidgetset : public TWidgetset {
public:
    std::string Name() const override { return "nogui"; }

    void CreatePeer(TWinControl& control) override;
    void DestroyPeer(TWinControl& control) override;
    void UpdatePeer(TControl& control, TPeerChange change) override;

    TIdleResult WaitForInput(TCustomForm* modalForm) override;

    std::uint64_t TickCount() const override { return clock_; }
    void Sleep(std::uint64_t milliseconds) override;
    void SetTimer(HWND window, UINT id, UINT interval) override;
    void KillTimer(HWND window, UINT id) override;

    TTextExtent TextExtent(const TFont& font, std::string_view text) const override;
    int ScreenWidth() const override { return 1024; }
    int ScreenHeight() const override { return 768; }
    void Beep() override { ++beeps_; }

    // Inspection for tests.
    const TNoGuiPeer* Peer(HWND window) const;
    int PeerCount() const { return static_cast<int>(peers_.size()); }
    int Beeps() const { return beeps_; }

private:
    struct TTimer {
        HWND window;
        UINT id;
        std::uint64_t interval;
        std::uint64_t due;
    };

    void Refresh(TWinControl& control, TNoGuiPeer& peer) const;

    std::map<HWND, TNoGuiPeer> peers_;
    std::vector<TTimer> timers_;
    std::uint64_t clock_ = 0;
    int beeps_ = 0;
};

}  // namespace kv
