#pragma once

#include "config/ConfigWindows.h"
#include "config/frmApp.h"
#include "config/frmVocab.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using Records = QByteArrayList;

// The vocabulary window's tests: the speech window with a fake desktop and recognizer over a
// temporary data directory holding the vocabularies Editing, Empty and Web, and the window
// opened as a user opens it. Every edit is checked in the vocabulary files on disk.
class VocabWindowSession : public QObject
{
protected:
    QString data(const QString &name) const { return m_dir->filePath("data/" + name); }
    Records words(const QString &vocab) const
    {
        return RecordFileBytes::records(RecordFileBytes::read(data("vocab/" + vocab + ".txt")),
                                        128);
    }
    void writeVocab(const QString &name, const Records &records)
    {
        RecordFileBytes::write(data("vocab/" + name + ".txt"), RecordFileBytes::file(records, 128));
    }
    // Messages shown, questions left out.
    QStringList messages() const
    {
        QStringList shown;
        for (const auto &m : m_desktop->prompter.shown()) {
            if (!m.question)
                shown.append(m.title + ": " + m.text);
        }
        return shown;
    }
    template <typename T> static T *child(QWidget &w, const char *name)
    {
        return w.findChild<T *>(name);
    }
    static QStringList lines(QListWidget *list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }
    static QPoint lineCentre(QListWidget *list, int row)
    {
        return list->visualItemRect(list->item(row)).center();
    }
    // Opens the window as a user does, Configure and then the application window's switch, runs
    // steps while it is open (it is modal) and closes it through its frame if they left it open.
    void whileOpen(const std::function<void(frmVocab &)> &steps)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            frmApp &app = m_jev->configWindows().app();
            QTimer::singleShot(0, [&] {
                auto &w = dynamic_cast<frmVocab &>(m_jev->configWindows().vocabulary());
                ran = QApplication::activeModalWidget() == &w && QTest::qWaitForWindowActive(&w);
                steps(w);
                if (!w.isUnloaded())
                    w.close();
            });
            QTest::mouseClick(child<QPushButton>(app, "cmdToggle"), Qt::LeftButton);
        });
        QTest::mouseClick(m_jev->findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
        QVERIFY2(ran, "the window was not shown modally");
    }
    static QStringList vocabularyNames(int count)
    {
        QStringList names{"Editing", "Empty", "Web"};
        for (int i = names.size(); i < count; ++i)
            names.append(QString("X%1").arg(i, 2, 10, QChar('0')));
        return names;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeRecognizer m_recognizer;
    std::unique_ptr<frmJev> m_jev;

    void start()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir->filePath("config"));
        m_desktop = std::make_unique<FakeDesktop>();
        writeVocab("Editing", {"select all:^a", "save:^s", "close:^w"});
        writeVocab("Empty", {});
        writeVocab("Web", {"Save:^s", "back:%{LEFT}", "close:^w"});
        RecordFileBytes::write(
            data("VAppCmd.txt"),
            RecordFileBytes::file({"Gedit \xA6 notes*editor~Editing$gedit"}, 270));
        m_jev = std::make_unique<frmJev>(data(""), m_desktop->services(), m_recognizer);
        m_jev->load();
    }
};
