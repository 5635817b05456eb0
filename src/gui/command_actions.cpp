#include "command_actions.h"

#include <QMenuBar>
#include <QPainter>

#include "app/command_table.h"
#include "toolbar_icons.h"

namespace tarn {

namespace {

QString labelOf(const std::string& text) {
    return QString::fromStdString(text.substr(0, text.find('\t')));
}

QString tooltipOf(const CommandEntry& entry, const std::vector<std::string>& keys) {
    QString label = labelOf(entry.text);
    label.remove('&');
    if (!keys.empty()) label += QStringLiteral(" (%1)").arg(QString::fromStdString(keys.front()));
    return label;
}

}  // namespace

CommandActions::CommandActions(QMainWindow& window, std::function<void(int id)> trigger) {
    for (const CommandEntry& entry : commandTable()) {
        auto* action = new QAction(labelOf(entry.text), &window);
        action->setData(entry.id);
        action->setObjectName(QStringLiteral("command%1").arg(entry.id));
        action->setCheckable(isCheckRule(entry.rule));
        // A held key repeats; a toggle must not flip at each repeat (Space
        // held for a second would leave Camera Override on or off by chance).
        action->setAutoRepeat(!action->isCheckable());
        int id = entry.id;
        QObject::connect(action, &QAction::triggered, &window, [trigger, id] { trigger(id); });
        // Keys of actions that sit in no menu still have to reach the window.
        window.addAction(action);
        actions_[entry.id] = action;
    }
    setKeys(false);
    buildMenus(window);
    buildToolBar(window);
}

void CommandActions::setKeys(bool classicKeys) {
    if (classicKeys_ == int(classicKeys)) return;
    classicKeys_ = int(classicKeys);
    for (const CommandEntry& entry : commandTable()) {
        const std::vector<std::string> keys = commandKeys(entry, classicKeys);
        QList<QKeySequence> sequences;
        for (const std::string& key : keys) sequences.append(QKeySequence(QString::fromStdString(key)));
        QAction* action = actions_.at(entry.id);
        action->setShortcuts(sequences);
        action->setToolTip(tooltipOf(entry, keys));
    }
}

void CommandActions::buildMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    for (const std::string& title : menuTitles()) {
        QMenu* menu = bar->addMenu(QString::fromStdString(title));
        std::map<std::string, QMenu*> submenus;
        for (const CommandEntry& entry : commandTable()) {
            if (title != entry.menu) continue;
            QMenu* target = menu;
            if (*entry.submenu) {
                QMenu*& sub = submenus[entry.submenu];
                if (!sub) sub = menu->addMenu(QString::fromUtf8(entry.submenu));
                target = sub;
            }
            target->addAction(actions_.at(entry.id));
        }
    }
}

void CommandActions::buildToolBar(QMainWindow& window) {
    toolBar_ = new QToolBar(QStringLiteral("Commands"), &window);
    toolBar_->setObjectName(QStringLiteral("commandBar"));
    toolBar_->setIconSize(QSize(kToolIconWidth, kToolIconHeight));
    toolBar_->setMovable(false);
    for (int id : toolbarLayout()) {
        if (id == kToolbarSeparator) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = actions_.at(id);
        a->setIcon(toolbarIcon(id));
        // In a menu a checkable command shows its check mark, not its button's glyph.
        a->setIconVisibleInMenu(!a->isCheckable());
        toolBar_->addAction(a);
    }
}

QAction* CommandActions::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CommandActions::update(const std::function<CommandState(int id)>& stateOf) {
    for (auto& [id, action] : actions_) {
        CommandState s = stateOf(id);
        action->setEnabled(s.enabled);
        action->setVisible(s.visible);
        if (action->isCheckable()) action->setChecked(s.checked);
        QString label = labelOf(s.text);
        if (findCommand(id)->menu[0] && action->text() != label) action->setText(label);
    }
}

}  // namespace tarn
