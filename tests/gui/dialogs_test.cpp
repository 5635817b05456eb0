#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

#include "qt_ui.h"

namespace tarn {
namespace {

// Runs `act` on the modal dialog as soon as it is shown.
void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

QPushButton* button(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    return dialog->findChild<QDialogButtonBox*>()->button(which);
}

TEST(OffsetCompanionDialog, ShowsTheOffsetsAndReturnsTheEditedOnesOnOk) {
    QtUi ui;
    whenModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Offset Companion Model");
        auto* x = d->findChild<QLineEdit*>("1000");
        auto* z = d->findChild<QLineEdit*>("1002");
        ASSERT_TRUE(x && z);
        EXPECT_EQ(x->text(), "1.5");
        EXPECT_EQ(d->findChild<QLineEdit*>("1001")->text(), "-0.333333");
        z->setText("oops");
        EXPECT_FALSE(button(d, QDialogButtonBox::Ok)->isEnabled());
        z->setText("12.25");
        button(d, QDialogButtonBox::Ok)->click();
    });
    auto r = ui.offsetCompanionModel({1.5f, -1.0f / 3.0f, 0.0f});
    ASSERT_TRUE(r.has_value());
    EXPECT_FLOAT_EQ(r->x, 1.5f);
    EXPECT_FLOAT_EQ(r->y, -0.333333f);
    EXPECT_FLOAT_EQ(r->z, 12.25f);

    whenModal([](QWidget* d) { button(d, QDialogButtonBox::Cancel)->click(); });
    EXPECT_FALSE(ui.offsetCompanionModel({}).has_value());
}

}  // namespace
}  // namespace tarn
