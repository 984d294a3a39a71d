// The satellite information window: the elements and derived values of the
// main window's selected satellite, as it was when the window opened.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfrInfoWnd : public QDialog {
    Q_OBJECT
public:
    explicit TfrInfoWnd(QWidget *parent = nullptr);

    void FormCreate();
    void ShowSatelliteInfo();
    void bn_closeClick();

    QPlainTextEdit *InfoMemo = nullptr;
    QPushButton *bn_close = nullptr;
};
