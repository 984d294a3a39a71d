// The dialog that builds one new line of the download list.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

class TfrDwnAddWnd : public QDialog {
    Q_OBJECT
public:
    explicit TfrDwnAddWnd(QWidget *parent = nullptr);

    void bn_addClick();
    void bn_cancelClick();

    // The new list line; empty when nothing is to be added.
    std::string Result;

    QLineEdit *te_link = nullptr;
    QLineEdit *te_name = nullptr;
    QComboBox *cb_type = nullptr;
    QPushButton *bn_cancel = nullptr;
    QPushButton *bn_add = nullptr;
};
