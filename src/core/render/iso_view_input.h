#pragma once
// Pointer input as every pane's behaviour sees it: plain events in client
// coordinates, and the few things a pane asks of the window system (capture,
// hiding the cursor, warping it back to the press point).
#include <cstdint>

namespace tarn {

enum MouseButtons : unsigned {
    kNoButton = 0,
    kLeftButton = 1,
    kRightButton = 2,
    kMiddleButton = 4,
};

struct MouseEvent {
    int x = 0;
    int y = 0;
    unsigned button = kNoButton;   // the button pressed or released; none for moves
    unsigned buttons = kNoButton;  // buttons held after the event
    bool shift = false;
    bool ctrl = false;
    bool alt = false;  // Alt+left picks the colour, as in every paint program
};

class PointerControl {
public:
    virtual ~PointerControl() = default;
    virtual void capture() = 0;
    virtual void releaseCapture() = 0;
    virtual void hideCursor() = 0;
    virtual void showCursor() = 0;
    // Puts the pointer at client point (x, y); false where the platform
    // refuses, and the pane then measures each move from the previous one.
    virtual bool warpTo(int x, int y) = 0;
};

// The mouse as every pane's behaviour takes it. A release and the moves after
// a press arrive only while the pane holds the capture it asked for.
class PaneInput {
public:
    virtual ~PaneInput() = default;
    virtual void mousePress(const MouseEvent& e, PointerControl& pointer) = 0;
    virtual void mouseMove(const MouseEvent& e, PointerControl& pointer) = 0;
    virtual void mouseRelease(const MouseEvent& e, PointerControl& pointer) = 0;
    // The capture was taken away: the drag ends without waiting for the buttons.
    virtual void captureLost(PointerControl& pointer) = 0;
};

// A PointerControl that does nothing: for panes driven without a window.
class NoPointer final : public PointerControl {
public:
    void capture() override {}
    void releaseCapture() override {}
    void hideCursor() override {}
    void showCursor() override {}
    bool warpTo(int, int) override { return true; }
};

// Measures warped drags: each move's offset from the anchor, which is the
// press point while warping works and the previous position otherwise.
class WarpedDrag {
public:
    void start(int x, int y) {
        pressX_ = anchorX_ = x;
        pressY_ = anchorY_ = y;
    }
    int pressX() const { return pressX_; }
    int pressY() const { return pressY_; }
    bool atAnchor(int x, int y) const { return x == anchorX_ && y == anchorY_; }
    // The offset of (x, y); then warps the pointer back to the press point.
    void step(int x, int y, PointerControl& pointer, int& dx, int& dy) {
        dx = x - anchorX_;
        dy = y - anchorY_;
        if (pointer.warpTo(pressX_, pressY_)) {
            anchorX_ = pressX_;
            anchorY_ = pressY_;
        } else {
            anchorX_ = x;
            anchorY_ = y;
        }
    }

private:
    int pressX_ = 0, pressY_ = 0;
    int anchorX_ = 0, anchorY_ = 0;
};

}  // namespace tarn
