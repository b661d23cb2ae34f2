#pragma once

#include "platform/WindowSystem.h"

#include <QDialog>

class CApp;
class QLabel;
class QTimer;
class QTreeWidget;
class RunningApps;

// "What Can I Say": the spoken names and the words that work with the application in front, as
// the engine lists them. It follows the front application by asking for the window in front twice
// a second while shown (the front changes by mouse and keyboard too, not only by phrases); the
// program's own windows do not count, so the list stays on the application the user works in.
class frmWhatCanISay : public QDialog
{
    Q_OBJECT

public:
    frmWhatCanISay(CApp &app, RunningApps &runningApps, QWidget *parent = nullptr);

    // The window whose words are listed; 0 before any.
    WindowId listedWindow() const { return m_window; }
    // Asks for the window in front and refreshes the list when it changed.
    void followFront();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void refresh();

    CApp &m_app;
    RunningApps &m_runningApps;
    QLabel *m_lblFront = nullptr;
    QTreeWidget *m_lstPhrases = nullptr;
    QTimer *m_tmrFront = nullptr;
    WindowId m_window = 0;
    QString m_title;
};
