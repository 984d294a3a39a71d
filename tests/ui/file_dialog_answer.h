// Answers the program's next file dialog with a path, as a user would.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

inline void AnswerNextFileDialog(const std::string &path)
{
    QTimer::singleShot(0, [path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog *>(dialog)->accept();
    });
}
