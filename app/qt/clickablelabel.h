// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace veltaro {

// A label that reports a left-button click (press and release inside it).
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace veltaro
