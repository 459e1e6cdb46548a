#include "QtPrompter.h"

#include "WatchedProcess.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>

namespace platform {
namespace {

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// "Text Files (*.txt)|*.txt|Updated Files (*.upd)|*.upd" as Qt's "a;;b".
QString toQtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names.join(";;");
}

}  // namespace

void QtPrompter::beep()
{
    QApplication::beep();
}

void QtPrompter::message(const std::string& text, const std::string& title, Icon icon)
{
    QMessageBox box(toQt(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

bool QtPrompter::askYesNo(const std::string& text, const std::string& title, Default byDefault)
{
    // A question shows no icon.
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(byDefault == Default::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompter::pickOpenFile(const std::string& filter)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, QString(), QString(), toQtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

void QtPrompter::showTextFile(const std::string& path, std::function<void()> notShown)
{
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty())
        notShown();
    else
        startWatched(opener, {QString::fromStdString(path)}, std::move(notShown));
}

}  // namespace platform
