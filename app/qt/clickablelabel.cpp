// SPDX-License-Identifier: MIT
#include "clickablelabel.h"

#include <QMouseEvent>

namespace veltaro {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace veltaro
