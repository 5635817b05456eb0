#pragma once
// Keeps typing in text fields away from the window's character shortcuts:
// while a text field has the focus, a key that types a character goes to the
// field, not to the command bound to it.
#include <QObject>

namespace tarn {

class TextKeyGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tarn
