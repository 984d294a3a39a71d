// A names editor on a program folder of its own, with a local web server for
// its updates, the user's messages recorded ("caption: text") and questions
// answered from a queue (Yes once it is empty).
#pragma once

#include "engine/downloads/download_fixture.h"
#include "ui/qt_app.h"

#include "engine/files/names_file.h"
#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "ui/names_editor/names_editor_window.h"
#include "ui/widgets/float_edit.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <deque>

// An entry line with a magnitude text.
inline std::string NamesEntry(const std::string &number, const std::string &name, const std::string &magnitude = "")
{
    return FormatNamesEntry(number, name, "", "", "", magnitude, "");
}

class NamesEditorTest : public DownloadTest {
protected:
    void SetUp() override
    {
        DownloadTest::SetUp();
        TestApplication();
        savedList_ = MainList;
        savedSelected_ = SelectedMain;
        savedOptions_ = Options;
        savedFactor_ = DistanceFactor;
        Options = DefaultOptions();
        DistanceFactor = 1.0;
        MainList.clear();
        SelectedMain = -1;
        Hooks().showMessage = [this, record = Hooks().showMessage](const std::string &text,
                                                                  const std::string &caption, MessageKind kind) {
            record(text, caption, kind);
            if (kind != MessageKind::Confirmation || answers_.empty())
                return true;
            const bool answer = answers_.front();
            answers_.pop_front();
            return answer;
        };
    }
    void TearDown() override
    {
        MainList = savedList_;
        SelectedMain = savedSelected_;
        Options = savedOptions_;
        DistanceFactor = savedFactor_;
        DownloadTest::TearDown();
    }

    std::string NamesPath() const { return DataDir + "qvnames.dat"; }

    void WriteNames(const std::string &link, const std::vector<std::string> &lines)
    {
        std::string text = link.empty() ? "" : link + "\r\n";
        for (const std::string &line : lines)
            text += line + "\r\n";
        WriteFile(NamesPath(), text);
    }

    // The window shown (not modal), so closing runs as the user's close does.
    std::unique_ptr<TfrSatDataWnd> Open()
    {
        auto window = std::make_unique<TfrSatDataWnd>();
        window->show();
        return window;
    }

    static TleRecord Satellite(const char *number)
    {
        TleRecord record;
        record.Number.assign(number);
        record.StdMagnitude = 0.0;
        return record;
    }

    std::deque<bool> answers_;

private:
    tlearray savedList_;
    int savedSelected_ = -1;
    OptionsRecord savedOptions_;
    double savedFactor_ = 1.0;
};
