#include "app/window/OstrelStartup.h"
#include "database/DbConnection.h"
#include "platform/qt/EndSignals.h"
#include "platform/qt/QtPrompter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    platform::QtPrompter prompter;
    app::OstrelStartup window(prompter, database::templatePath());
    prompter.setParent(&window);

    // A logout, a shutdown or kill leaves the database as Exit does, asking nothing; after a
    // signal the process ends at once, before any open form's code runs again.
    const auto leave = [&window] { window.leaveDatabaseUnasked(); };
    platform::EndSignals endSignals([&leave](int signal) {
        leave();
        platform::EndSignals::endBy(signal);
    });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window, leave);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window, leave);

    window.show();
    return application.exec();
}
