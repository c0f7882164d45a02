// SPDX-License-Identifier: MIT
#include "qtmessageservice.h"

#include <QMessageBox>
#include <QString>

namespace veltaro {

void QtMessageService::show(const std::wstring& text, const std::wstring& title, MessageIcon icon)
{
    const QMessageBox::Icon boxIcon = icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, QString::fromStdWString(title), QString::fromStdWString(text), QMessageBox::Ok);
    // A host name is the machine's to choose: shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace veltaro
