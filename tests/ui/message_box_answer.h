// Answers the next message box the program itself shows (not the test's
// recorder) with its OK button, keeping what a test asks of it: its text, the
// window it was opened in front of, and whether the download progress box was
// still in sight then.
#pragma once

#include "ui/downloads/info_download_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <string>

class MessageBoxAnswer {
public:
    MessageBoxAnswer()
    {
        QObject::connect(&watch_, &QTimer::timeout, [this] { Look(); });
        watch_.start(20);
    }

    // Whether a box was shown and answered within the time.
    bool Answered(int milliseconds)
    {
        return QTest::qWaitFor([this] { return !watch_.isActive(); }, milliseconds);
    }

    std::string text;
    QWidget *owner = nullptr;
    QWindow *transientParent = nullptr;
    bool progressShown = true;

private:
    void Look()
    {
        if (!box_)
            box_ = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box_ || !box_->isVisible())
            return;
        watch_.stop();
        text = box_->text().toStdString();
        owner = box_->parentWidget();
        transientParent = box_->windowHandle()->transientParent();
        progressShown = frInfoDownloadWnd && frInfoDownloadWnd->isVisible();
        box_->button(QMessageBox::Ok)->click();
    }

    QTimer watch_;
    QPointer<QMessageBox> box_;
};
