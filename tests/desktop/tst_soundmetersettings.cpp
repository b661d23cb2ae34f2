#include "config/LoginStart.h"
#include "config/ProgramSettings.h"
#include "platform/fake/ScriptedPrompter.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/VuMeterBar.h"
#include "speech/frmVolSet.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeySequenceEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What desktop-file-validate says of an entry; empty when it has nothing to say.
QString validate(const QString &path)
{
    QProcess check;
    check.start("desktop-file-validate", {path});
    if (!check.waitForFinished(30000))
        return "desktop-file-validate did not run: install desktop-file-utils";
    const QString said = check.readAllStandardOutput() + check.readAllStandardError();
    return check.exitCode() == 0 && said.trimmed().isEmpty() ? QString() : said;
}

} // namespace

// The sound meter window's settings of the program on the desktop: the listening key and the
// start at login, on the real files (in a temporary XDG_CONFIG_HOME).
class TestSoundMeterSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    VuMeterBar m_meter;
    FakeRecognizer m_recognizer;
    ScriptedPrompter m_prompter;

    std::unique_ptr<frmVolSet> makeWindow()
    {
        return std::make_unique<frmVolSet>(m_meter, m_recognizer, nullptr, &m_prompter);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_dir->filePath("xdg").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->filePath("cfg"));
        QSettings().clear();
        m_prompter.clear();
    }

    void startAtLogin()
    {
        const QString entry = m_dir->filePath("xdg/autostart/jev.desktop");
        QCOMPARE(LoginStart::entryPath(), entry);
        auto window = makeWindow();
        auto *check = window->findChild<QCheckBox *>("chkStartAtLogin");
        QVERIFY(!check->isChecked()); // off until asked for
        QVERIFY(!QFile::exists(entry));

        check->click();
        QVERIFY(QFile::exists(entry));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(
            "\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + "\n"));
        const QString said = validate(entry);
        QVERIFY2(said.isEmpty(), qPrintable(said));
        QVERIFY(makeWindow()->findChild<QCheckBox *>("chkStartAtLogin")->isChecked());

        check->click();
        QVERIFY(!QFile::exists(entry));
        QVERIFY(m_prompter.shown().isEmpty());
    }

    void entryForAProgramPath_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("installed") << "/usr/bin/jev"
                                   << "Exec=/usr/bin/jev";
        QTest::newRow("blanks") << "/home/a b/jev"
                                << "Exec=\"/home/a b/jev\"";
        QTest::newRow("quote and dollar") << "/x/\"$y/jev"
                                          << "Exec=\"/x/\\\\\"\\\\$y/jev\"";
    }

    void entryForAProgramPath()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        const QByteArray text = LoginStart::entryText(program);
        QVERIFY2(text.contains("\n" + exec.toUtf8() + "\n"), text.constData());
        const QString path = m_dir->filePath("entry.desktop");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        const QString said = validate(path);
        QVERIFY2(said.isEmpty(), qPrintable(said));
    }

    // A setting that cannot be stored is told, and the box shows what is so.
    void entryThatCannotBeWritten()
    {
        QDir().mkpath(m_dir->filePath("xdg"));
        QFile blocker(m_dir->filePath("xdg/autostart")); // a file where the folder would go
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto window = makeWindow();
        auto *check = window->findChild<QCheckBox *>("chkStartAtLogin");
        check->click();
        QVERIFY(!check->isChecked());
        QCOMPARE(m_prompter.shown().size(), 1);
        QVERIFY2(m_prompter.shown().first().text.contains("autostart"),
                 qPrintable(m_prompter.shown().first().text));
    }

    void listeningKey()
    {
        auto window = makeWindow();
        auto *edit = window->findChild<QKeySequenceEdit *>("txtListeningKey");
        QCOMPARE(edit->keySequence(), QKeySequence("Ctrl+Alt+Space"));
        window->show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F9, Qt::MetaModifier);
        // The edit finishes a moment after the last key, as it does for the user.
        QTRY_COMPARE(ProgramSettings::listeningKey(), QString("Meta+F9"));
        edit->clear();
        QCOMPARE(ProgramSettings::listeningKey(), QString());
        QCOMPARE(makeWindow()->findChild<QKeySequenceEdit *>("txtListeningKey")->keySequence(),
                 QKeySequence());
    }
};

QTEST_MAIN(TestSoundMeterSettings)
#include "tst_soundmetersettings.moc"
