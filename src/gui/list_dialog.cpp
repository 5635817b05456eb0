#include "list_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarn {

namespace {

constexpr int kStartWidth = 480;
constexpr int kStartHeight = 420;

}  // namespace

ListDialog::ListDialog(const QString& title, const QStringList& entries, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    resize(kStartWidth, kStartHeight);
    auto* layout = new QVBoxLayout(this);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(QStringLiteral("Type to filter, e.g. \"monsters tank\""));
    filter_->setClearButtonEnabled(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("entries"));
    list_->addItems(entries);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("count"));
    layout->addWidget(count_);
    layout->addWidget(filter_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);

    connect(filter_, &QLineEdit::textChanged, this, &ListDialog::applyFilter);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter in the field opens the first entry still shown.
    connect(filter_, &QLineEdit::returnPressed, this, [this] {
        if (!chosen().isEmpty()) accept();
    });
    filter_->installEventFilter(this);
    applyFilter({});
}

bool ListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(list_, event);
            return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString ListDialog::chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && !item->isHidden() ? item->text() : QString();
}

void ListDialog::applyFilter(const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QListWidgetItem* first = nullptr;
    int shownCount = 0;
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        bool shown = true;
        for (const QString& w : words) shown = shown && item->text().contains(w, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first) first = item;
        shownCount += shown ? 1 : 0;
    }
    if (!list_->currentItem() || list_->currentItem()->isHidden()) list_->setCurrentItem(first);
    count_->setText(shownCount == list_->count() ? QStringLiteral("%1 files").arg(shownCount)
                                                 : QStringLiteral("%1 of %2 files").arg(shownCount).arg(list_->count()));
}

}  // namespace tarn
