#pragma once
// Counts the paints of every widget of the application while it lives: what
// an idle window must keep at zero, since every paint costs processor time.
#include <QApplication>
#include <QEvent>
#include <QObject>

namespace tarn {

class PaintCounter final : public QObject {
public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints_;
        return false;
    }

private:
    int paints_ = 0;
};

}  // namespace tarn
