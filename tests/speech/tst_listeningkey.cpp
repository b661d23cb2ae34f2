#include "SpeechWindowSession.h"
#include "config/ProgramSettings.h"

// The speech window's listening key: taken from the settings at load and after the configuration
// closed, pressed it acts as a click on the level meter.
class TestListeningKey : public SpeechWindowSession
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        fresh();
        RecordFileBytes::write(data("VAppCmd.txt"),
                               RecordFileBytes::file({"Gedit \xA6 notes*editor~E$gedit"}, 270));
    }

    // Each press does what a meter click does: off (level 0), then on again, grammar reloaded.
    void pressToggles()
    {
        makeWindow(&m_key);
        QCOMPARE(m_key.held(), QString("Ctrl+Alt+Space"));
        QVERIFY(m_recognizer.isActive());
        const int loads = m_recognizer.loadedFiles().size();
        QVERIFY(m_key.press());
        QVERIFY(!m_recognizer.isActive());
        QVERIFY(m_window->meterToggle());
        QVERIFY(m_key.press());
        QVERIFY(m_recognizer.isActive());
        QCOMPARE(m_recognizer.loadedFiles().size(), loads + 2);
        // After the configuration, one press switches listening on, as one click does.
        configure();
        QVERIFY(!m_recognizer.isActive());
        QVERIFY(m_key.press());
        QVERIFY(m_recognizer.isActive());
    }

    void setting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("another combination") << "Meta+F9";
        QTest::newRow("none wanted") << "";
    }

    void setting()
    {
        QFETCH(QString, stored);
        ProgramSettings::setListeningKey(stored);
        makeWindow(&m_key);
        QCOMPARE(m_key.held(), stored);
        QCOMPARE(m_key.grabs().isEmpty(), stored.isEmpty());
        QVERIFY(m_window->startupProblems().isEmpty());
    }

    // A combination another program holds is told at start, in the status bar and in the
    // message; a new one set meanwhile is taken when the configuration closes.
    void heldByAnotherProgram()
    {
        m_key.setHeldElsewhere({"Ctrl+Alt+Space"});
        makeWindow(&m_key);
        QCOMPARE(m_key.held(), QString());
        QCOMPARE(m_window->startupProblems(),
                 QStringList{"Another program already uses Ctrl+Alt+Space."});
        m_window->tellStartupProblems();
        QCOMPARE(m_desktop->prompter.shown().size(), 1);

        configure(); // unchanged: not asked for again, not told again
        QCOMPARE(m_key.grabs().size(), 1);
        QCOMPARE(m_desktop->prompter.shown().size(), 1);

        ProgramSettings::setListeningKey("Ctrl+Alt+J");
        configure();
        QCOMPARE(m_key.held(), QString("Ctrl+Alt+J"));
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
        m_key.setHeldElsewhere({"Ctrl+Alt+K"});
        ProgramSettings::setListeningKey("Ctrl+Alt+K");
        configure();
        QCOMPARE(m_desktop->prompter.shown().size(), 2);
        QCOMPARE(problemsShown(), QString("Another program already uses Ctrl+Alt+K."));
    }
};

QTEST_MAIN(TestListeningKey)
#include "tst_listeningkey.moc"
