#include "text_key_guard.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tarn {

namespace {

bool takesText(const QWidget* w) {
    if (!w) return false;
    if (auto* line = qobject_cast<const QLineEdit*>(w)) return !line->isReadOnly();
    if (auto* text = qobject_cast<const QTextEdit*>(w)) return !text->isReadOnly();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return !plain->isReadOnly();
    if (qobject_cast<const QAbstractSpinBox*>(w)) return true;
    if (auto* combo = qobject_cast<const QComboBox*>(w)) return combo->isEditable();
    return false;
}

// Widgets that move through their entries with the arrow keys, Home and End.
bool takesArrows(const QWidget* w) {
    return takesText(w) || qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QAbstractSlider*>(w);
}

bool isArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
           key == Qt::Key_Home || key == Qt::Key_End;
}

}  // namespace

bool TextKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
    const QWidget* focus = QApplication::focusWidget();
    auto* key = static_cast<QKeyEvent*>(event);
    const auto commandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    // The arrows nudge the mapping, and Home resets the view, only while no
    // list or field wants them.
    if (isArrow(key->key()) && !(key->modifiers() & commandModifiers) && takesArrows(focus)) {
        event->accept();
        return true;
    }
    if (takesText(focus)) {
        bool types = !(key->modifiers() & commandModifiers) && !key->text().isEmpty() &&
                     key->text().at(0).isPrint();
        if (types) {
            // Accepting the override hands the key to the field as a key press.
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tarn
