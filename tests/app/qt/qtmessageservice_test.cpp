// SPDX-License-Identifier: MIT
// The message boxes of the Qt face: the icon asked for, a single OK
// button, the exact title and text, and text shown as it is.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "qtmessageservice.h"

namespace veltaro {
namespace {

struct Shown {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QList<QAbstractButton*> buttons;
    bool okButton = false;
    bool textLiteral = false;
};

// Shows one box through the service and looks at it while it is open,
// then presses its OK button.
Shown showAndLook(const std::wstring& text, const std::wstring& title, MessageIcon icon)
{
    Shown shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        shown.icon = box->icon();
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.buttons = box->buttons();
        // The label that shows the text takes none of it for markup.
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        shown.textLiteral = label != nullptr && label->textFormat() == Qt::PlainText;
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            shown.okButton = true;
            ok->click();
        } else {
            box->reject();
        }
    });
    QtMessageService().show(text, title, icon);
    return shown;
}

TEST(QtMessageServiceTest, ShowsTheDriverMessageWithTheCriticalIconAndASingleOk)
{
    const Shown shown = showAndLook(L"There is a problem with loading IO driver.", L"Mailto: veltaro@example.org",
                                    MessageIcon::Critical);
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.title, QStringLiteral("Mailto: veltaro@example.org"));
    EXPECT_EQ(shown.text, QStringLiteral("There is a problem with loading IO driver."));
    EXPECT_EQ(shown.buttons.size(), 1);
    EXPECT_TRUE(shown.okButton);
}

// A host name is the machine's to choose; it reaches a message as it is.
TEST(QtMessageServiceTest, ShowsATextHoldingMarkupAsItIsWithoutAnIcon)
{
    const Shown shown = showAndLook(L"Could not connect to registry on <b>host</b><img src=\"/etc/hostname\">",
                                    L"Veltaro", MessageIcon::None);
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.title, QStringLiteral("Veltaro"));
    EXPECT_TRUE(shown.textLiteral);
    EXPECT_TRUE(shown.okButton);
}

}  // namespace
}  // namespace veltaro
