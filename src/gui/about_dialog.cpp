#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarn {

namespace {
constexpr int kDataWidth = 115;
constexpr int kCurrentWidth = 80;
constexpr int kLimitWidth = 85;
}  // namespace

AboutDialog::AboutDialog(const std::vector<StatisticsRow>& rows, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About TARN"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("<b>TARN</b> v0.9b3<br>Skin painter and mapper for Quake 2 models"), this);
    layout->addWidget(title);

    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("1001"));
    list->setRootIsDecorated(false);
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Current"), QStringLiteral("Limit")});
    list->header()->setDefaultAlignment(Qt::AlignLeft);
    list->headerItem()->setTextAlignment(1, Qt::AlignRight);
    list->headerItem()->setTextAlignment(2, Qt::AlignRight);
    for (const StatisticsRow& row : rows) {
        auto* item = new QTreeWidgetItem(list, {QString::fromStdString(row.data),
                                                QString::fromStdString(row.current),
                                                QString::fromStdString(row.limit)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    list->setColumnWidth(0, kDataWidth);
    list->setColumnWidth(1, kCurrentWidth);
    list->setColumnWidth(2, kLimitWidth);
    list->setMinimumWidth(kDataWidth + kCurrentWidth + kLimitWidth + 8);
    layout->addWidget(list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace tarn
