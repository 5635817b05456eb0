#pragma once
// A list to choose one entry from, with a field that narrows it as the user
// types (every word must appear, in any case) and ranks whole path segments
// first. Open from PAK shows the models
// of the base folder's PAK files in one.
#include <QDialog>
#include <QStringList>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace tarn {

class ListDialog : public QDialog {
    Q_OBJECT
public:
    ListDialog(const QString& title, const QStringList& entries, QWidget* parent = nullptr);

    // The chosen entry; empty when none is.
    QString chosen() const;
    QLineEdit* filterField() const { return filter_; }
    QListWidget* list() const { return list_; }

    QLabel* countLabel() const { return count_; }

protected:
    // The field passes the keys that move through a list on to the list, so
    // that typing, Down and Enter open the second match.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter(const QString& text);

    QLineEdit* filter_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    std::vector<std::string> entries_;
};

}  // namespace tarn
