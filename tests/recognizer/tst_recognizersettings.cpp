#include "recognizer/RecognizerSettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The recognizer's settings read from a settings store of the test's own.
class TestRecognizerSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCoreApplication::setOrganizationName("DuveVuvuraru");
        QCoreApplication::setApplicationName("jev");
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void voiceLevelFromTheMetersFullScale_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: not set
        QTest::addColumn<int>("level");
        QTest::newRow("never set: no level, no gate") << QVariant() << 0;
        QTest::newRow("set in the sound meter") << QVariant("3000") << 1500;
        QTest::newRow("highest slider value") << QVariant("20000") << 10000;
        QTest::newRow("written by hand with decimals") << QVariant("2500.5") << 1250;
        QTest::newRow("not a number") << QVariant("loud") << 0;
        QTest::newRow("zero") << QVariant("0") << 0;
    }
    void voiceLevelFromTheMetersFullScale()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, level);
        {
            QSettings settings;
            settings.clear();
            if (stored.isValid())
                settings.setValue("Startup/VUMeter", stored);
        }
        QCOMPARE(RecognizerSettings::voiceLevel(), level);
    }
};

QTEST_GUILESS_MAIN(TestRecognizerSettings)
#include "tst_recognizersettings.moc"
