#pragma once
// Menus, toolbar and keys built from the command table: one QAction per
// command, carrying its id, placed in its menu and on the toolbar.
#include <QAction>
#include <QMainWindow>
#include <QToolBar>
#include <functional>
#include <map>

#include "app/command_registry.h"

namespace tarn {

class CommandActions {
public:
    // Creates every action, the menu bar and the command toolbar of `window`;
    // `trigger` runs when an action fires.
    CommandActions(QMainWindow& window, std::function<void(int id)> trigger);

    QAction* action(int id) const;
    QToolBar* toolBar() const { return toolBar_; }
    // Sets each action's enabled, checked and text state.
    void update(const std::function<CommandState(int id)>& stateOf);
    // Binds today's keys, or the classic table's; nothing when already so.
    void setKeys(bool classicKeys);

private:
    void buildMenus(QMainWindow& window);
    void buildToolBar(QMainWindow& window);
    std::map<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    int classicKeys_ = -1;  // the scheme bound: -1 none yet
};

}  // namespace tarn
