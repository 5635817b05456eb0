#pragma once
// Pointer input as every pane's behaviour sees it: plain events in client
// coordinates, and the few things a pane asks of the window system (capture,
// hiding the cursor, warping it back to the press point).
#include <algorithm>
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

// Measures warped drags by the path of the pointer, not by its events: each
// move's offset is the change of the pointer's position since the last one,
// positions taken as they are reported. Tablets, remote desktops and scripted
// input report absolute positions, so a drag sent as 1 or as 30 events moves
// alike. The pointer is put back at the press point only once it strays
// kWarpDistance from it (so that a long drag never meets a screen edge), and
// the jump that warp makes is taken out of the next position: unless that
// position still follows on from where the pointer was, as it does from a
// device that keeps its own absolute place.
class WarpedDrag {
public:
    static constexpr int kWarpDistance = 64;

    void start(int x, int y) {
        pressX_ = lastX_ = x;
        pressY_ = lastY_ = y;
        shiftX_ = shiftY_ = 0;
        warped_ = false;
    }
    int pressX() const { return pressX_; }
    int pressY() const { return pressY_; }
    // The move the warp itself causes, at the press point, says nothing.
    bool atAnchor(int x, int y) const { return warped_ ? x == pressX_ && y == pressY_ : x == lastX_ && y == lastY_; }
    // The offset of (x, y) from the previous position on the path.
    void step(int x, int y, PointerControl& pointer, int& dx, int& dy) {
        if (warped_) {
            warped_ = false;
            // Nearer the press point than where the pointer was: the warp took.
            if (distance(x, y, pressX_, pressY_) <= distance(x, y, lastX_, lastY_)) {
                shiftX_ += lastX_ - pressX_;
                shiftY_ += lastY_ - pressY_;
                lastX_ = pressX_;
                lastY_ = pressY_;
            }
        }
        dx = x - lastX_;
        dy = y - lastY_;
        lastX_ = x;
        lastY_ = y;
        if (distance(x, y, pressX_, pressY_) > kWarpDistance) warped_ = pointer.warpTo(pressX_, pressY_);
    }
    // The drag is over: the pointer goes back to where it was pressed.
    void finish(PointerControl& pointer) const { pointer.warpTo(pressX_, pressY_); }

private:
    static int distance(int x, int y, int ax, int ay) {
        const int ddx = x - ax, ddy = y - ay;
        return std::max(ddx < 0 ? -ddx : ddx, ddy < 0 ? -ddy : ddy);
    }
    int pressX_ = 0, pressY_ = 0;
    int lastX_ = 0, lastY_ = 0;  // the last position as reported
    int shiftX_ = 0, shiftY_ = 0;  // what the warps took off the reported positions
    bool warped_ = false;  // put back at the press point since the last move
};

}  // namespace tarn
