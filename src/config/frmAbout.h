#pragma once

#include <QDialog>
#include <QUrl>

class Prompter;
class QLabel;

// The About box: the program's name, description and version, the system-information tool and
// the program's web page.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(Prompter &prompter, QWidget *parent = nullptr);

    // Starts the first system-information program found, or tells that there is none.
    void StartSysInfo();
    // The system-information programs looked for, in order.
    static QStringList sysInfoPrograms();
    // The program's web site, which the picture button opens in the system's browser.
    static QUrl webAddress();

private:
    void openWebPage();

    Prompter &m_prompter;
};
