#include "CHelp.h"

#include "ProgramFiles.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextBrowser>

QUrl CHelp::target(const QString &NewFile, const QString &WindowPane, const QVariant &ContextID)
{
    const QString book = ProgramFiles::folder(QStringLiteral("help"));
    if (book.isEmpty())
        return {};
    // An HTML page of its own is shown as it is; the help file of old names the whole book.
    const QFileInfo file(NewFile);
    QString page = file.suffix() == QLatin1String("html") && file.exists()
                       ? file.absoluteFilePath()
                       : book + QStringLiteral("/index.html");
    const QString pane = WindowPane.trimmed();
    if (!pane.isEmpty() &&
        QFileInfo::exists(book + QLatin1Char('/') + pane + QStringLiteral(".html")))
        page = book + QLatin1Char('/') + pane + QStringLiteral(".html");
    QUrl url = QUrl::fromLocalFile(page);
    if (ContextID.isValid() && !ContextID.toString().isEmpty())
        url.setFragment(ContextID.toString());
    return url;
}

QWidget *CHelp::Show(const QString &NewFile, const QString &WindowPane, const QVariant &ContextID)
{
    const QUrl page = target(NewFile, WindowPane, ContextID);
    if (page.isEmpty())
        return nullptr;
    // A modal window blocks every window but its own: a help window of its own stays usable.
    QWidget *owner = m_owner ? m_owner : QApplication::activeModalWidget();
    auto *browser = new QTextBrowser(owner);
    browser->setWindowFlag(Qt::Window);
    browser->setObjectName(QStringLiteral("HelpWindow"));
    browser->setAttribute(Qt::WA_DeleteOnClose);
    // The program ends with the speech window, whether help is still open or not.
    browser->setAttribute(Qt::WA_QuitOnClose, false);
    browser->setWindowTitle(QStringLiteral("JEV! Voice Command Help"));
    browser->setOpenExternalLinks(true);
    browser->resize(720, 560);
    browser->setSource(page);
    browser->show();
    return browser;
}
