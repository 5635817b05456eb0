#pragma once
// The intro: a borderless 320 x 240 window over the main window, animating
// the intro picture with its looping sound. It gives way at the first key or
// button press anywhere in TARN, when a dialog or message of TARN shows, when
// TARN is activated again, or when its time runs out.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "app/intro.h"

namespace tarn {

class IntroSound;

class IntroWindow : public QWidget {
public:
    // `clip` is a clip number 0..7, or kIntroCustomFile to play `wavPath`.
    IntroWindow(int clip, const QString& wavPath, QWidget* owner = nullptr);
    ~IntroWindow() override;

    // Runs the picture as if `elapsedMs` had passed (the timer does this).
    void step(int elapsedMs);
    IntroSound& sound() { return *sound_; }

    // The logo, drawn with the application's font.
    static std::vector<std::uint8_t> makeLogo();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish();
    void applicationStateChanged(Qt::ApplicationState state);

    IntroPicture picture_;
    IntroSound* sound_;
    int clip_;
    QString wavPath_;
    QTimer tick_;
    QElapsedTimer clock_;
    // TARN was active while the intro ran, then left: its return ends the intro.
    bool seenActive_ = false;
    bool leftAfterActive_ = false;
};

}  // namespace tarn
