#include "SpeechWindowSession.h"
#include "speech/VuMeterBar.h"

// "go to sleep" and "wake up": the speech window stops and resumes acting on phrases while the
// microphone stays open.
class TestSleep : public SpeechWindowSession
{
    Q_OBJECT

private:
    QLabel *phrasePanel() const { return m_window->findChild<QLabel *>("stbVCmdPhrase"); }
    // Hears a phrase and waits until the speech window has handled it: every phrase sets the
    // tool tip of the status bar's phrase panel.
    void hear(const QString &phrase)
    {
        phrasePanel()->setToolTip("-");
        m_recognizer.hear(phrase);
        QTRY_VERIFY(phrasePanel()->toolTip() != "-");
    }
    // What reached the desktop: keystrokes sent, windows brought forward, programs started.
    QStringList actions() const
    {
        QStringList done = m_desktop->keys.texts();
        for (const WindowId window : m_desktop->windows.activations())
            done.append(QStringLiteral("window %1").arg(window));
        return done + m_desktop->shell.calls();
    }

private Q_SLOTS:
    void init()
    {
        fresh();
        // The user's vocabulary has the program's own words too.
        geditInFront({"save:^s", "wake up:^w"});
        makeWindow(&m_key);
        m_window->show();
        QVERIFY(m_recognizer.isActive());
    }

    void sleepAndWake()
    {
        const int activations = m_recognizer.activations();
        const int loads = m_recognizer.loadedFiles().size();
        hear("go to sleep");
        QCOMPARE(phrasePanel()->text(), QString("Sleeping"));
        QVERIFY(m_window->isAsleep());

        // Asleep: nothing is carried out, the status bar keeps saying so and tells in its tool
        // tip what it heard; the microphone stays open and the meter moves.
        for (const QString phrase : {"save", "editor", "go to sleep", "no such command"}) {
            hear(phrase);
            QCOMPARE(phrasePanel()->text(), QString("Sleeping"));
            QVERIFY2(phrasePanel()->toolTip().contains("\"" + phrase + "\""),
                     qPrintable(phrasePanel()->toolTip()));
        }
        QCOMPARE(actions(), QStringList());
        m_recognizer.level(1500);
        QTRY_COMPARE(m_window->meter().level(), 1500);
        QVERIFY(m_recognizer.isActive());

        hear("wake up");
        QCOMPARE(phrasePanel()->text(), QString("wake up"));
        QVERIFY(!m_window->isAsleep());
        // Awake, the own phrase is still not the vocabulary's "wake up".
        hear("wake up");
        QCOMPARE(actions(), QStringList());
        hear("save");
        hear("editor");
        QCOMPARE(actions(), (QStringList{"Ctrl+s", "window 7"}));

        // Neither phrase closed the microphone nor reloaded the grammar.
        QVERIFY(m_recognizer.isActive());
        QCOMPARE(m_recognizer.activations(), activations);
        QCOMPARE(m_recognizer.loadedFiles().size(), loads);
    }

    // Phrases heard in a row are handled in that order: the one after "go to sleep" is asleep.
    void phrasesRightAfterGoToSleep()
    {
        m_recognizer.hear("go to sleep");
        m_recognizer.hear("save");
        m_recognizer.hear("wake up");
        m_recognizer.hear("save");
        QTRY_COMPARE(actions(), QStringList{"Ctrl+s"});
        QCOMPARE(phrasePanel()->text(), QString("save"));
    }

    // Sleeping belongs to one stretch of listening: whatever switches listening ends it, and
    // listening switched on again acts on commands at once. Events: m meter click, k listening
    // key, c configuration opened and closed, f the microphone failed.
    void switchingListeningEndsSleep_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<bool>("listening");
        QTest::newRow("click: off") << "m" << false;
        QTest::newRow("two clicks: listening") << "mm" << true;
        QTest::newRow("listening key twice") << "kk" << true;
        QTest::newRow("configure, click") << "cm" << true;
        QTest::newRow("microphone failed, click") << "fm" << true;
    }
    void switchingListeningEndsSleep()
    {
        QFETCH(QString, events);
        QFETCH(bool, listening);
        hear("go to sleep");
        QVERIFY(m_window->isAsleep());
        for (const QChar e : events) {
            if (e == 'm') {
                QTest::mouseClick(&m_window->meter(), Qt::LeftButton);
            } else if (e == 'k') {
                QVERIFY(m_key.press());
            } else if (e == 'c') {
                configure();
            } else {
                Q_EMIT m_recognizer.listeningFailed("The microphone went away.");
                m_recognizer.Deactivate();
            }
            QVERIFY(!m_window->isAsleep());
            QVERIFY(phrasePanel()->text() != "Sleeping");
        }
        QCOMPARE(m_recognizer.isActive(), listening);
        if (listening) {
            hear("save");
            QCOMPARE(actions(), QStringList{"Ctrl+s"});
        }
    }
};

QTEST_MAIN(TestSleep)
#include "tst_sleep.moc"
