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

QString tooltipOf(const CommandSpec& spec) {
    QString label = labelOf(spec.text);
    label.remove('&');
    if (*spec.key) label += QStringLiteral(" (%1)").arg(QString::fromUtf8(spec.key));
    return label;
}

}  // namespace

CommandActions::CommandActions(QMainWindow& window, std::function<void(int id)> trigger) {
    for (const CommandSpec& spec : commandTable()) {
        auto* action = new QAction(labelOf(spec.text), &window);
        action->setData(spec.id);
        action->setObjectName(QStringLiteral("command%1").arg(spec.id));
        action->setToolTip(tooltipOf(spec));
        if (*spec.key) action->setShortcut(QKeySequence(QString::fromUtf8(spec.key)));
        action->setCheckable(isCheckRule(spec.rule));
        int id = spec.id;
        QObject::connect(action, &QAction::triggered, &window, [trigger, id] { trigger(id); });
        // Keys of actions that sit in no menu still have to reach the window.
        window.addAction(action);
        actions_[spec.id] = action;
    }
    buildMenus(window);
    buildToolBar(window);
}

void CommandActions::buildMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    for (const std::string& title : menuTitles()) {
        QMenu* menu = bar->addMenu(QString::fromStdString(title));
        std::map<std::string, QMenu*> submenus;
        for (const CommandSpec& spec : commandTable()) {
            if (title != spec.menu) continue;
            QMenu* target = menu;
            if (*spec.submenu) {
                QMenu*& sub = submenus[spec.submenu];
                if (!sub) sub = menu->addMenu(QString::fromUtf8(spec.submenu));
                target = sub;
            }
            target->addAction(actions_.at(spec.id));
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
        if (action->isCheckable()) action->setChecked(s.checked);
        QString label = labelOf(s.text);
        if (findCommand(id)->menu[0] && action->text() != label) action->setText(label);
    }
}

}  // namespace tarn
