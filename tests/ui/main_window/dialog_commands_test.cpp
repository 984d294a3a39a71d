// The commands that open a modal window for one use.
#include "main_window_fixture.h"

#include "ui/about/about_box.h"
#include "ui/names_editor/names_editor_window.h"
#include "ui/options/options_window.h"
#include "ui/satellite_info/satellite_info_window.h"

#include <QAction>

class DialogCommandsTest : public MainWindowTest {};

TEST_F(DialogCommandsTest, EachCommandOpensItsWindowModally)
{
    TfrMainWnd &window = Start();
    // The window each command opens, told by its class.
    const struct {
        QAction *command;
        const char *className;
    } commands[] = {
        {window.menu_satdata, TfrSatDataWnd::staticMetaObject.className()},
        {window.tb_info, TfrInfoWnd::staticMetaObject.className()},
        {window.menu_options, TfrOptionWnd::staticMetaObject.className()},
        {window.menu_about, TfrAboutBox::staticMetaObject.className()},
    };
    for (const auto &entry : commands) {
        SCOPED_TRACE(entry.className);
        QString opened;
        QTimer::singleShot(0, [&opened] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            opened = modal->metaObject()->className();
            modal->close();
        });
        entry.command->trigger();
        EXPECT_EQ(opened.toStdString(), entry.className);
    }
    EXPECT_EQ(window.menu_satdata->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(window.menu_about->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F10));
}
