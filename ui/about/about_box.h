// The about box: the licence text beside the program and, on request, the
// program's version block.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfrAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TfrAboutBox(QWidget *parent = nullptr);

    void FormCreate();
    void bn_versionClick();
    void ShowVersionInfo();
    void OKButtonClick();

    QPlainTextEdit *memo_about = nullptr;
    QPushButton *bn_version = nullptr;
    QPushButton *OKButton = nullptr;
};
