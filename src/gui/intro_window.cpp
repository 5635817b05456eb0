#include "intro_window.h"

#include <QApplication>
#include <QDialog>
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
    tick_.setInterval(kIntroFrameMs);
    connect(&tick_, &QTimer::timeout, this, [this] { step(static_cast<int>(clock_.elapsed())); });
    picture_.draw(0);
}

IntroWindow::~IntroWindow() {
    qApp->removeEventFilter(this);
    sound_->stop();
}

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
    if (const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr)
        move(over->frameGeometry().center() - rect().center());
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (tick_.isActive()) return;
    qApp->installEventFilter(this);
    seenActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &IntroWindow::applicationStateChanged);
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

bool IntroWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:  // a key bound to a command arrives as this first
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        finish();
        break;
    case QEvent::Show:
        // No question or message of TARN waits behind the intro.
        if (watched != this && qobject_cast<QDialog*>(watched) != nullptr) finish();
        break;
    default:
        break;
    }
    return false;
}

void IntroWindow::applicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) {
        if (leftAfterActive_) finish();
        seenActive_ = true;
    } else if (seenActive_) {
        leftAfterActive_ = true;
    }
}

void IntroWindow::keyPressEvent(QKeyEvent*) { finish(); }

void IntroWindow::mousePressEvent(QMouseEvent*) { finish(); }

void IntroWindow::finish() {
    qApp->removeEventFilter(this);
    tick_.stop();
    sound_->stop();
    close();
}

}  // namespace tarn
