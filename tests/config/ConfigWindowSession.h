#pragma once

#include "config/ConfigWindows.h"
#include "config/frmApp.h"
#include "config/frmVocab.h"
#include "speech/SpeechWindowSession.h"

#include <QAccessible>
#include <QListWidget>
#include <QToolButton>
#include <functional>

#ifdef JEV_SCREENSHOT_DIR
#include "speech/OnXvfb.h"
#endif

using Records = QByteArrayList;

// The configuration windows' tests: the speech window with a fake desktop and recognizer over a
// temporary data directory, the windows opened as a user opens them. Every edit is checked in
// the files on disk.
class ConfigWindowSession : public SpeechWindowSession
{
protected:
    Records records() const
    {
        return RecordFileBytes::records(RecordFileBytes::read(data("VAppCmd.txt")), 270);
    }
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
    // Clicks a toolbar button ("tbr...") or a push button ("cmd..."), or chooses a menu command.
    static void use(QWidget &w, const QString &control)
    {
        if (control.startsWith("tbr"))
            QTest::mouseClick(child<QToolButton>(w, control.toLatin1()), Qt::LeftButton);
        else if (control.startsWith("cmd"))
            QTest::mouseClick(child<QPushButton>(w, control.toLatin1()), Qt::LeftButton);
        else
            child<QAction>(w, control.toLatin1())->trigger();
    }
    // Every toolbar image loaded (without Qt's SVG support it would be empty) and every button is
    // named for assistive tools; Tab from cmdToggle visits the controls in `order`, each named.
    static void checkKeyboardAccess(QWidget &w, const QByteArray &toolbar,
                                    const QByteArrayList &buttons, const QStringList &order)
    {
        for (const QByteArray &key : buttons) {
            auto *button = child<QToolButton>(w, toolbar + key);
            QVERIFY2(!button->icon().pixmap(24).isNull(), key.constData());
            QVERIFY(!button->accessibleName().isEmpty());
        }
        QStringList visited;
        child<QWidget>(w, "cmdToggle")->setFocus();
        for (qsizetype i = 0; i < order.size(); ++i) {
            QWidget *focus = QApplication::focusWidget();
            while (focus->objectName().isEmpty())
                focus = focus->parentWidget(); // the edit box of a combo box
            visited.append(focus->objectName());
            QVERIFY(
                !QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name).isEmpty());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, order);
    }
    // Opens the application window with Configure and runs steps while it is open (it is modal);
    // a window the steps left open is closed through its frame.
    void whileAppOpen(const std::function<void(frmApp &)> &steps)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            frmApp &w = m_window->configWindows().app();
            ran = QApplication::activeModalWidget() == &w && QTest::qWaitForWindowActive(&w);
            steps(w);
            if (!w.isUnloaded())
                w.close();
        });
        QTest::mouseClick(m_window->findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
        QVERIFY2(ran, "the window was not shown modally");
    }
    // The same for the vocabulary window, opened from the application window's switch.
    void whileOpen(const std::function<void(frmVocab &)> &steps)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            frmApp &app = m_window->configWindows().app();
            QTimer::singleShot(0, [&] {
                auto &w = dynamic_cast<frmVocab &>(m_window->configWindows().vocabulary());
                ran = QApplication::activeModalWidget() == &w && QTest::qWaitForWindowActive(&w);
                steps(w);
                if (!w.isUnloaded())
                    w.close();
            });
            QTest::mouseClick(child<QPushButton>(app, "cmdToggle"), Qt::LeftButton);
        });
        QTest::mouseClick(m_window->findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
        QVERIFY2(ran, "the window was not shown modally");
    }
    static QStringList vocabularyNames(int count)
    {
        QStringList names{"Editing", "Empty", "Web"};
        for (int i = names.size(); i < count; ++i)
            names.append(QString("X%1").arg(i, 2, 10, QChar('0')));
        return names;
    }
    // The speech window loads anew, its application list filled from these records.
    void load(const Records &apps)
    {
        m_window.reset();
        RecordFileBytes::write(data("VAppCmd.txt"), RecordFileBytes::file(apps, 270));
        makeWindow();
    }
    // The vocabulary window's data: Editing, Empty and Web.
    void start()
    {
        fresh();
        writeVocab("Editing", {"select all:^a", "save:^s", "close:^w"});
        writeVocab("Empty", {});
        writeVocab("Web", {"Save:^s", "back:%{LEFT}", "close:^w"});
        load({"Gedit \xA6 notes*editor~Editing$gedit"});
    }
#ifdef JEV_SCREENSHOT_DIR
    // The window with its frame saved for a person to look at; every caption fits its control.
    static void screenshot(QWidget &w, const QString &name)
    {
        shoot(w, name);
        for (QWidget *control : w.findChildren<QWidget *>()) {
            if (control->isVisible() &&
                (qobject_cast<QLabel *>(control) || qobject_cast<QPushButton *>(control)))
                QVERIFY2(control->sizeHint().width() <= control->width(),
                         qPrintable(control->objectName()));
        }
    }
#endif
};
