#include "list_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/list_filter.h"

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
    for (const QString& e : entries) entries_.push_back(e.toStdString());
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

// The matches in the order of their rank, best first; the entry to open is the top one.
void ListDialog::applyFilter(const QString& text) {
    const std::vector<int> order = rankEntries(entries_, text.toStdString());
    list_->clear();
    for (int i : order) list_->addItem(QString::fromStdString(entries_[std::size_t(i)]));
    list_->setCurrentRow(order.empty() ? -1 : 0);
    const int all = static_cast<int>(entries_.size());
    const int shownCount = static_cast<int>(order.size());
    count_->setText(shownCount == all ? QStringLiteral("%1 files").arg(shownCount)
                                      : QStringLiteral("%1 of %2 files").arg(shownCount).arg(all));
}

}  // namespace tarn
