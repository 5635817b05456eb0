#include "list_dialog.h"

#include <QDialogButtonBox>
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
    layout->addWidget(new QLabel(QStringLiteral("%1 files").arg(entries.size()), this));
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
    applyFilter({});
}

QString ListDialog::chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && !item->isHidden() ? item->text() : QString();
}

void ListDialog::applyFilter(const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        bool shown = true;
        for (const QString& w : words) shown = shown && item->text().contains(w, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first) first = item;
    }
    if (!list_->currentItem() || list_->currentItem()->isHidden()) list_->setCurrentItem(first);
}

}  // namespace tarn
