#include "data/DataDirectory.h"
#include "support/RecordFileBytes.h"

#include <QTemporaryDir>
#include <QTest>

class TestDataDirectory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("jevHome");
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &commandLine, const QString &jevHome,
                            bool portable, const QString &xdg, const QString &expected) {
            QTest::newRow(name) << commandLine << jevHome << portable << xdg << expected;
        };
        row("command line first", "/c", "/j", true, "/x", "/c");
        row("then JEV_HOME", "", "/j", true, "/x", "/j");
        row("then a portable copy", "", "", true, "/x", "EXE");
        row("then XDG_DATA_HOME", "", "", false, "/x", "/x/jev");
        row("then the home default", "", "", false, "", "/h/.local/share/jev");
    }

    void choose()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, jevHome);
        QFETCH(bool, portable);
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        QTemporaryDir exe;
        if (portable)
            RecordFileBytes::write(exe.path() + "/VAppCmd.txt", {});
        const QString chosen =
            DataDirectory::choose({commandLine, jevHome, exe.path(), xdgDataHome, "/h"});
        QCOMPARE(chosen, expected == "EXE" ? exe.path() : expected);
    }

    void prepare()
    {
        QTemporaryDir root;
        const QString dir = root.path() + "/a/b";
        QString error;
        QVERIFY(DataDirectory::prepare(dir, &error));
        QVERIFY(QFileInfo(dir + "/vocab").isDir());

        RecordFileBytes::write(root.path() + "/file", "x");
        QVERIFY(!DataDirectory::prepare(root.path() + "/file/sub", &error));
        QVERIFY(error.contains("cannot be created"));
    }
};

QTEST_GUILESS_MAIN(TestDataDirectory)
#include "tst_datadirectory.moc"
