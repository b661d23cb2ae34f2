#include "frmAbout.h"

#include "ProgramFiles.h"
#include "platform/Prompter.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, bool wrap = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(wrap);
    return label;
}

} // namespace

frmAbout::frmAbout(Prompter &prompter, QWidget *parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + kProgramTitle);

    QLabel *picIcon = makeLabel(this, QStringLiteral("picIcon"), {});
    picIcon->setPixmap(ProgramFiles::programIcon().pixmap(48, 48));
    QLabel *lblTitle = makeLabel(this, QStringLiteral("lblTitle"), kProgramTitle);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    auto *cmdBruWebSvr = new QPushButton(this);
    cmdBruWebSvr->setObjectName(QStringLiteral("cmdBruWebSvr"));
    cmdBruWebSvr->setIcon(ProgramFiles::icon(QStringLiteral("web.svg")));
    cmdBruWebSvr->setIconSize(QSize(32, 32));
    cmdBruWebSvr->setToolTip(QStringLiteral("Open the program's web site: ") +
                             webAddress().toString());
    cmdBruWebSvr->setAccessibleName(QStringLiteral("Web site"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1, 1, 2);
    const QString texts[] = {
        QStringLiteral("Version ") + QStringLiteral(JEV_VERSION),
        QStringLiteral("JEV! Voice Control is a very useful tool to help you get work done faster "
                       "by allowing you to control all of your programs the way you want to "
                       "control them!"),
        QStringLiteral("This program is provided as it is, without warranty of any kind. It "
                       "sends keystrokes to other programs on your behalf: check your "
                       "vocabularies before you rely on them.")};
    const QString names[] = {QStringLiteral("lblVersion"), QStringLiteral("lblDescription"),
                             QStringLiteral("lblDisclaimer")};
    for (int row = 1; row <= 3; ++row)
        layout->addWidget(makeLabel(this, names[row - 1], texts[row - 1], row > 1), row, 1, 1, 2);
    layout->addWidget(cmdBruWebSvr, 4, 0, Qt::AlignLeft);
    layout->addWidget(cmdSysInfo, 4, 1, Qt::AlignRight);
    layout->addWidget(cmdOK, 4, 2);
    setMinimumWidth(420);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    connect(cmdBruWebSvr, &QPushButton::clicked, this, &frmAbout::openWebPage);
}

QUrl frmAbout::webAddress()
{
    return QUrl(QStringLiteral(JEV_HOMEPAGE));
}

void frmAbout::openWebPage()
{
    // The system's browser shows the page; without one there is nothing more to do than say so.
    if (!QDesktopServices::openUrl(webAddress()))
        m_prompter.showMessage(QStringLiteral("No web browser could be started for ") +
                                   webAddress().toString(),
                               kProgramTitle, Prompter::Icon::Warning);
}

QStringList frmAbout::sysInfoPrograms()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager")};
}

void frmAbout::StartSysInfo()
{
    for (const QString &program : sysInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
    m_prompter.showMessage(QStringLiteral("System Information Is Unavailable At This Time"),
                           kProgramTitle, Prompter::Icon::None);
}
