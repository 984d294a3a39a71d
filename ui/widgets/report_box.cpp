#include "ui/widgets/report_box.h"

#include <QFontDatabase>

#include "engine/files/data_files.h"
#include "engine/reports/report_output.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/window_glue.h"

QPlainTextEdit *MakeReportBox(QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return box;
}

std::vector<std::string> ReportBoxLines(const QPlainTextEdit *box)
{
    std::vector<std::string> lines;
    const QString text = box->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString &line : text.split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

void AppendReportLines(QPlainTextEdit *box, const std::vector<std::string> &lines)
{
    if (lines.empty())
        return;
    QStringList text;
    for (const std::string &line : lines)
        text.append(QString::fromStdString(line));
    box->appendPlainText(text.join('\n'));
}

void PrintReportBox(const QPlainTextEdit *box) { PrintReport(ReportBoxLines(box)); }

void SaveReportBox(const QPlainTextEdit *box)
{
    std::string fileName;
    SelectFile(2, fileName);
    if (fileName.empty())
        return;
    std::string text;
    for (const std::string &line : ReportBoxLines(box))
        text += line + '\n';
    std::string error;
    if (!SaveFileAtomically(fileName, text, &error))
        ShowUserMessage(error, "File", MessageKind::Error);
}
