#pragma once

#include <QLabel>

// A label that reports clicks: the UTC/LOC fields toggle their time mode.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
