#include "list_bar.h"

#include <QLabel>
#include <QSignalBlocker>

#include "app/command_table.h"
#include "toolbar_icons.h"

namespace tarn {

namespace {

constexpr int kListMinWidth = 128;
constexpr int kListMinHeight = 22;
// The closed list shows about this many characters, whatever its entries
// hold: a long path must not push the other lists aside. The drop-down
// widens to the longest entry and the tooltip names the current one in full.
constexpr int kListShownChars = 14;
constexpr const char* kListTipProperty = "listTip";

// The list's own tooltip, with the current entry in full below it.
void showCurrentIn(QComboBox* box) {
    const QString tip = box->property(kListTipProperty).toString();
    const QString current = box->currentText();
    box->setToolTip(current.isEmpty() ? tip : tip + '\n' + current);
}

}  // namespace

ListBar::ListBar(QMainWindow& window, QToolBar* commandBar,
                 std::function<void(int id, int index)> chosen) {
    window.addToolBar(Qt::TopToolBarArea, commandBar);
    for (const ListBand& entry : listBands()) {
        if (entry.newRow) window.addToolBarBreak(Qt::TopToolBarArea);
        QString caption = QString::fromUtf8(entry.caption);
        auto* band = new QToolBar(caption, &window);
        band->setObjectName(QStringLiteral("band%1").arg(entry.id));
        band->setMovable(false);
        auto* label = new QLabel(caption + ' ', band);
        auto* box = new QComboBox(band);
        box->setObjectName(QStringLiteral("list%1").arg(entry.id));
        box->setMinimumSize(kListMinWidth, kListMinHeight);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kListShownChars);
        if (entry.id == kListSkins) box->setIconSize(QSize(kSkinIconWidth, kSkinIconHeight));
        box->setProperty(kListTipProperty, QString::fromUtf8(entry.tooltip));
        showCurrentIn(box);
        box->setEditable(false);
        label->setBuddy(box);
        band->addWidget(label);
        band->addWidget(box);
        window.addToolBar(Qt::TopToolBarArea, band);
        int id = entry.id;
        // activated fires for the user's choices only, not for refills.
        QObject::connect(box, &QComboBox::activated, &window, [chosen, id](int index) { chosen(id, index); });
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [box] { showCurrentIn(box); });
        lists_[id] = box;
    }
}

QComboBox* ListBar::list(int id) const {
    auto it = lists_.find(id);
    return it == lists_.end() ? nullptr : it->second;
}

void ListBar::fill(int id, const ListContent& content) {
    QComboBox* box = list(id);
    if (!box) return;
    QSignalBlocker block(box);
    box->clear();
    for (std::size_t i = 0; i < content.entries.size(); ++i) {
        QString text = QString::fromStdString(content.entries[i]);
        if (i < content.images.size())
            box->addItem(skinListIcon(content.images[i] == 1), text);
        else
            box->addItem(text);
        box->setItemData(box->count() - 1, text, Qt::ToolTipRole);
    }
    box->setCurrentIndex(content.current < 0 && box->count() > 0 && id == kListSkins ? 0 : content.current);
    showCurrentIn(box);
}

void ListBar::setText(int id, int index, const QString& text) {
    QComboBox* box = list(id);
    if (!box || index < 0 || index >= box->count() || box->itemText(index) == text) return;
    box->setItemText(index, text);
    box->setItemData(index, text, Qt::ToolTipRole);
    showCurrentIn(box);
}

void ListBar::select(int id, int index) {
    if (QComboBox* box = list(id)) {
        QSignalBlocker block(box);
        box->setCurrentIndex(index);
        showCurrentIn(box);
    }
}

}  // namespace tarn
