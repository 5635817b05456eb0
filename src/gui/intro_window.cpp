#include "intro_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>

#include "intro_sound.h"

namespace tarn {

IntroWindow::IntroWindow(int clip, const QString& wavPath, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint),
      picture_(QRandomGenerator::global()->generate()),
      sound_(new IntroSound(this)),
      clip_(clip),
      wavPath_(wavPath) {
    setObjectName(QStringLiteral("intro"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kIntroWidth, kIntroHeight);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::StrongFocus);
    picture_.setLogo(makeLogo());
    if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    tick_.setInterval(kIntroFrameMs);
    connect(&tick_, &QTimer::timeout, this, [this] { step(static_cast<int>(clock_.elapsed())); });
    picture_.draw(0);
}

IntroWindow::~IntroWindow() { sound_->stop(); }

std::vector<std::uint8_t> IntroWindow::makeLogo() {
    QImage logo(kLogoWidth, kLogoHeight, QImage::Format_Grayscale8);
    logo.fill(0);
    QPainter p(&logo);
    QFont font = p.font();
    font.setPixelSize(kLogoHeight - 3);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("T A R N"));
    p.end();
    std::vector<std::uint8_t> grey;
    grey.reserve(static_cast<std::size_t>(kLogoWidth) * kLogoHeight);
    for (int y = 0; y < kLogoHeight; ++y) {
        const uchar* row = logo.constScanLine(y);
        grey.insert(grey.end(), row, row + kLogoWidth);
    }
    return grey;
}

void IntroWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (tick_.isActive()) return;
    if (clip_ == kIntroCustomFile) {
        if (!sound_->playFile(wavPath_)) sound_->playClip(QRandomGenerator::global()->bounded(kIntroClipCount));
    } else {
        sound_->playClip(clip_);
    }
    clock_.start();
    tick_.start();
    setFocus();
}

void IntroWindow::step(int elapsedMs) {
    if (elapsedMs > kIntroMaxMs) {
        finish();
        return;
    }
    picture_.draw(elapsedMs);
    update();
}

void IntroWindow::paintEvent(QPaintEvent*) {
    QImage image(reinterpret_cast<const uchar*>(picture_.pixels().data()), kIntroWidth, kIntroHeight,
                 kIntroWidth * 2, QImage::Format_RGB555);
    QPainter(this).drawImage(0, 0, image);
}

void IntroWindow::keyPressEvent(QKeyEvent*) { finish(); }

void IntroWindow::mousePressEvent(QMouseEvent*) { finish(); }

void IntroWindow::finish() {
    tick_.stop();
    sound_->stop();
    close();
}

}  // namespace tarn
