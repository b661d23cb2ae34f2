#pragma once

#include "platform/fake/FakeGlobalShortcut.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class SoundSources;

// The speech window's tests: the window over a temporary data directory and settings folder of
// their own (Qt reads the settings folder once per process, so each test sets it explicitly), with
// a fake desktop, recognizer and listening key.
class SpeechWindowSession : public QObject
{
protected:
    QString data(const QString &name = {}) const
    {
        return m_dir->filePath(name.isEmpty() ? "data" : "data/" + name);
    }
    // A fresh data directory, settings folder and desktop; listening off, nothing going wrong.
    void fresh()
    {
        m_window.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir->filePath("config"));
        QSettings().clear();
        m_desktop = std::make_unique<FakeDesktop>();
        m_key = FakeGlobalShortcut();
        m_recognizer.Deactivate();
        m_recognizer.setActivateError({});
    }
    // A Gedit window in front, and its record "editor" with vocabulary E holding `words`.
    void geditInFront(const QList<QByteArray> &words)
    {
        m_desktop->windows.addWindow(7, "Gedit", "notes - gedit");
        m_desktop->windows.setForeground(7);
        RecordFileBytes::write(
            data("VAppCmd.txt"),
            RecordFileBytes::file({"Gedit \xA6 notes - gedit*editor~E$gedit"}, 270));
        RecordFileBytes::write(data("vocab/E.txt"), RecordFileBytes::file(words, 128));
    }
    // The speech window, loaded as the program loads it (not shown).
    void makeWindow(GlobalShortcut *key = nullptr, SoundSources *sources = nullptr)
    {
        m_window.reset();
        m_window =
            std::make_unique<frmJev>(data(), m_desktop->services(), m_recognizer, key, sources);
        m_window->load();
    }
    QString phraseShown() const { return m_window->findChild<QLabel *>("stbVCmdPhrase")->text(); }
    QString problemsShown() const
    {
        return m_window->findChild<QLabel *>("stbVCmdProblems")->text();
    }
    // Configure clicked; the configuration window is modal: it is closed as soon as it shows.
    void configure()
    {
        QTimer::singleShot(0, [] {
            if (QWidget *window = QApplication::activeModalWidget())
                window->close();
        });
        QTest::mouseClick(m_window->findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeGlobalShortcut m_key;
    FakeRecognizer m_recognizer;
    std::unique_ptr<frmJev> m_window;
};
