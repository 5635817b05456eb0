#pragma once
// The six labelled list boxes in their bands: Skins beside the command
// toolbar, then Companions and Frames, then P-Maps, E-Maps and Modes.
#include <QComboBox>
#include <QMainWindow>
#include <QToolBar>
#include <functional>
#include <map>

#include "app/application.h"

namespace tarn {

class ListBar {
public:
    // `chosen` runs when the user picks an entry of list `id`.
    ListBar(QMainWindow& window, QToolBar* commandBar, std::function<void(int id, int index)> chosen);

    QComboBox* list(int id) const;
    // Replaces the entries of list `id` and selects its current entry; no
    // selection handler runs.
    void fill(int id, const ListContent& content);
    // Changes one entry's text in place.
    void setText(int id, int index, const QString& text);
    // Selects `index` without running the selection handler.
    void select(int id, int index);

private:
    std::map<int, QComboBox*> lists_;
};

}  // namespace tarn
