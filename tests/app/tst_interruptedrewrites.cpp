#include "support/JevProcess.h"
#include "support/RecordFileBytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <signal.h>

namespace {

const QString kVocab = QStringLiteral("Editing");

QByteArray appList()
{
    QList<QByteArray> records;
    for (int i = 0; i < 40; ++i)
        records.append(QStringLiteral("Prog%1 \u00a6 doc%1*name %1~%2$/usr/bin/prog%1")
                           .arg(i)
                           .arg(kVocab)
                           .toLatin1());
    return RecordFileBytes::file(records, 270);
}

QByteArray vocabulary()
{
    QList<QByteArray> records;
    for (int i = 0; i < 150; ++i)
        records.append(QStringLiteral("command %1:^a{LEFT %2}").arg(i).arg(i % 9 + 1).toLatin1());
    return RecordFileBytes::file(records, 128);
}

// A grammar that the data above does not make, so that the old and the new one differ.
QByteArray oldGrammar()
{
    return "[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n<start>=switch to\r\n"
           "<start>=an older phrase\r\n";
}

// The staged copies in the data directory and its vocab/, as they are named while a rewrite runs.
QStringList stagedCopies(const QString &dir)
{
    QStringList copies;
    for (const QString &folder : {dir, dir + QStringLiteral("/vocab")}) {
        for (const QString &name :
             QDir(folder).entryList({QStringLiteral(".*.new")}, QDir::Files | QDir::Hidden))
            copies.append(folder + QLatin1Char('/') + name);
    }
    return copies;
}

char processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return '?';
    const QByteArray text = stat.readAll();
    const qsizetype state = text.lastIndexOf(')') + 2;
    return state < text.size() ? text.at(state) : '?';
}

} // namespace

// A real jev process is stopped just before each call that changes a file during a rewrite and
// killed there (SIGKILL). The rewritten file must then hold its old or its new content, whole; a
// staged copy that the kill leaves behind must be gone after the next run, so the data directory
// never grows.
class TestInterruptedRewrites : public QObject
{
    Q_OBJECT

private:
    QProcessEnvironment environment(int stopAtCall) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(JEV_STOP_AT_CALL_LIB));
        env.insert(QStringLiteral("JEV_STOP_AT_CALL"), QString::number(stopAtCall));
        // A sanitized jev accepts the preloaded library before its runtime.
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
        env.remove(QStringLiteral("DISPLAY"));
        return env;
    }

    // Starts jev with these arguments, stopped at its stopAtCall-th call that changes a file.
    // False when it ran to its end instead.
    bool startStopped(QProcess &process, const QStringList &args, int stopAtCall)
    {
        process.setProcessEnvironment(environment(stopAtCall));
        process.start(QStringLiteral(JEV_BINARY), QStringList{"--data-dir", m_dir->path()} + args);
        [&] {
            QVERIFY(process.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning ||
                                         processState(process.processId()) == 'T',
                                     20000);
        }();
        if (QTest::currentTestFailed())
            return false;
        if (process.state() == QProcess::NotRunning) {
            [&] { QCOMPARE(process.exitCode(), 0); }();
            return false;
        }
        return true;
    }

    void kill(QProcess &process)
    {
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    }

    int run(const QStringList &args)
    {
        return runJev(JEV_BINARY, QStringList{"--data-dir", m_dir->path()} + args, environment(0))
            .code;
    }

    void restore()
    {
        RecordFileBytes::write(m_dir->filePath("VAppCmd.txt"), appList());
        RecordFileBytes::write(m_dir->filePath("vocab/" + kVocab + ".txt"), vocabulary());
        RecordFileBytes::write(m_dir->filePath("temp.txt"), oldGrammar());
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        restore();
    }

    void killedAtEveryCall_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::newRow("application deleted") << QStringList{"apps", "delete", "7"} << "VAppCmd.txt";
        QTest::newRow("word deleted")
            << QStringList{"words", "delete", kVocab, "20"} << "vocab/" + kVocab + ".txt";
        QTest::newRow("grammar written") << QStringList{"grammar"} << "temp.txt";
    }

    void killedAtEveryCall()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        const QString path = m_dir->filePath(file);
        const QByteArray oldBytes = RecordFileBytes::read(path);
        QCOMPARE(run(args), 0);
        const QByteArray newBytes = RecordFileBytes::read(path);
        QVERIFY(newBytes != oldBytes);

        int killedMidRewrite = 0;
        int calls = 1;
        for (;; ++calls) {
            const int call = calls;
            QVERIFY2(call < 1000, "the run never came to its end");
            restore(); // the file as it was; what earlier kills left beside it stays
            QProcess process;
            const bool stopped = startStopped(process, args, call);
            if (QTest::currentTestFailed())
                return;
            if (stopped)
                kill(process);
            const QByteArray now = RecordFileBytes::read(path);
            QVERIFY2(
                now == oldBytes || now == newBytes,
                qPrintable(QStringLiteral("%1 damaged by a kill at call %2").arg(file).arg(call)));
            // Each run removes what the kill before it left, so there is never more than one.
            const QStringList copies = stagedCopies(m_dir->path());
            QVERIFY2(copies.size() <= 1, qPrintable(copies.join(' ')));
            killedMidRewrite += copies.size();
            if (!stopped)
                break;
        }
        qInfo("%s: killed at %d calls, %d of them while a staged copy existed", qPrintable(file),
              calls - 1, killedMidRewrite);
        QVERIFY2(killedMidRewrite >= 3, "too few kills landed while a staged copy existed");

        // A plain start removes what a kill left, too.
        for (int call = 1; stagedCopies(m_dir->path()).isEmpty(); ++call) {
            QVERIFY(call < 1000);
            QProcess process;
            QVERIFY(startStopped(process, args, call));
            kill(process);
        }
        QCOMPARE(run({"vocabs"}), 0);
        QCOMPARE(stagedCopies(m_dir->path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestInterruptedRewrites)
#include "tst_interruptedrewrites.moc"
