#pragma once
// Plain mouse events for driving pane behaviour in tests.
#include <string>
#include <vector>

#include "render/iso_view_input.h"

namespace tarn::test {

inline MouseEvent mouseAt(int x, int y, unsigned button, unsigned held, bool shift = false) {
    MouseEvent e;
    e.x = x;
    e.y = y;
    e.button = button;
    e.buttons = held;
    e.shift = shift;
    return e;
}

// Records what a pane asks of the window system.
struct RecordingPointer : PointerControl {
    std::vector<std::string> calls;
    bool warpWorks = true;
    void capture() override { calls.push_back("capture"); }
    void releaseCapture() override { calls.push_back("release"); }
    void hideCursor() override { calls.push_back("hide"); }
    void showCursor() override { calls.push_back("show"); }
    bool warpTo(int x, int y) override {
        calls.push_back("warp " + std::to_string(x) + "," + std::to_string(y));
        return warpWorks;
    }
};

}  // namespace tarn::test
