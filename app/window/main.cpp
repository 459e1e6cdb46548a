#include "app/window/OstrelStartup.h"
#include "database/DbConnection.h"
#include "platform/qt/QtPrompter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    platform::QtPrompter prompter;
    app::OstrelStartup window(prompter, database::templatePath());
    prompter.setParent(&window);
    window.show();
    return application.exec();
}
