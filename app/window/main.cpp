#include "app/window/OstrelStartup.h"
#include "database/DbConnection.h"
#include "platform/qt/EndSignals.h"
#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QEvent>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// The window whose database an exit that no event loop sees still closes: Qt ends the program
// with exit() when its display goes away.
app::OstrelStartup* s_window = nullptr;

void closeAtExit()
{
    if (s_window)
        s_window->closeDatabaseAtExit();
}

// The session manager's word that the session ends reaches the program as a quit while its
// window is still shown: it ends as at a signal, before any open form's code runs again.
class SessionEnd : public QObject {
public:
    explicit SessionEnd(app::OstrelStartup& window) : m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != qApp || event->type() != QEvent::Quit || !m_window.isVisible())
            return false;
        m_window.endUnasked([] {
            std::fflush(nullptr);
            _exit(0);
        });
        return true;
    }

private:
    app::OstrelStartup& m_window;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    platform::QtPrompter prompter;
    app::OstrelStartup window(prompter, database::templatePath());
    prompter.setParent(&window);

    // A logout, a shutdown or kill leaves the database as Exit does, asking nothing; after a
    // signal the process ends at once, before any open form's code runs again. The request to
    // save that starts a logout only makes the database file hold every save: the logout may
    // be cancelled.
    platform::EndSignals endSignals(
        [&window](int signal) { window.endUnasked([signal] { platform::EndSignals::endBy(signal); }); });
    SessionEnd sessionEnd(window);
    application.installEventFilter(&sessionEnd);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window, [&window] { window.saveForSession(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window, [&window] { window.leaveDatabaseUnasked(); });
    s_window = &window;
    std::atexit(closeAtExit);

    window.show();
    const int status = application.exec();
    s_window = nullptr;
    return status;
}
