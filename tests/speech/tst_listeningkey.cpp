#include "config/ProgramSettings.h"
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

// The speech window's listening key: taken from the settings at load and after the configuration
// closed, pressed it acts as a click on the level meter.
class TestListeningKey : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeGlobalShortcut m_key;
    FakeRecognizer m_recognizer;

    std::unique_ptr<frmJev> makeWindow()
    {
        auto window = std::make_unique<frmJev>(m_dir->filePath("data"), m_desktop->services(),
                                               m_recognizer, &m_key);
        window->load();
        return window;
    }
    void configure(frmJev &window)
    {
        QTimer::singleShot(0, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        QTest::mouseClick(window.findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir->filePath("config"));
        QSettings().clear();
        m_desktop = std::make_unique<FakeDesktop>();
        m_key = FakeGlobalShortcut();
        RecordFileBytes::write(m_dir->filePath("data/VAppCmd.txt"),
                               RecordFileBytes::file({"Gedit \xA6 notes*editor~E$gedit"}, 270));
        m_recognizer.Deactivate();
    }

    // Each press does what a meter click does: off (level 0), then on again, grammar reloaded.
    void pressToggles()
    {
        auto window = makeWindow();
        QCOMPARE(m_key.held(), QString("Ctrl+Alt+Space"));
        QVERIFY(m_recognizer.isActive());
        const int loads = m_recognizer.loadedFiles().size();
        QVERIFY(m_key.press());
        QVERIFY(!m_recognizer.isActive());
        QVERIFY(window->meterToggle());
        QVERIFY(m_key.press());
        QVERIFY(m_recognizer.isActive());
        QCOMPARE(m_recognizer.loadedFiles().size(), loads + 2);
        // After the configuration, one press switches listening on, as one click does.
        configure(*window);
        QVERIFY(!m_recognizer.isActive());
        QVERIFY(m_key.press());
        QVERIFY(m_recognizer.isActive());
    }

    void setting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("held");
        QTest::newRow("another combination") << "Meta+F9"
                                             << "Meta+F9";
        QTest::newRow("none wanted") << ""
                                     << "";
    }

    void setting()
    {
        QFETCH(QString, stored);
        QFETCH(QString, held);
        ProgramSettings::setListeningKey(stored);
        auto window = makeWindow();
        QCOMPARE(m_key.held(), held);
        QCOMPARE(m_key.grabs().isEmpty(), held.isEmpty());
        QVERIFY(window->startupProblems().isEmpty());
    }

    // A combination another program holds is told at start, in the status bar and in the
    // message; a new one set meanwhile is taken when the configuration closes.
    void heldByAnotherProgram()
    {
        m_key.setHeldElsewhere({"Ctrl+Alt+Space"});
        auto window = makeWindow();
        QCOMPARE(m_key.held(), QString());
        QCOMPARE(window->startupProblems(),
                 QStringList{"Another program already uses Ctrl+Alt+Space."});
        window->tellStartupProblems();
        QCOMPARE(m_desktop->prompter.shown().size(), 1);

        configure(*window); // unchanged: not asked for again, not told again
        QCOMPARE(m_key.grabs().size(), 1);
        QCOMPARE(m_desktop->prompter.shown().size(), 1);

        ProgramSettings::setListeningKey("Ctrl+Alt+J");
        configure(*window);
        QCOMPARE(m_key.held(), QString("Ctrl+Alt+J"));
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
        m_key.setHeldElsewhere({"Ctrl+Alt+K"});
        ProgramSettings::setListeningKey("Ctrl+Alt+K");
        configure(*window);
        QCOMPARE(m_desktop->prompter.shown().size(), 2);
        QCOMPARE(window->findChild<QLabel *>("stbVCmdProblems")->text(),
                 QString("Another program already uses Ctrl+Alt+K."));
    }
};

QTEST_MAIN(TestListeningKey)
#include "tst_listeningkey.moc"
