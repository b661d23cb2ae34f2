#include "data/FileChannels.h"
#include "data/MemoryListBox.h"
#include "engine/CApp.h"
#include "engine/Vocabularies.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <unistd.h>

namespace {

// Root may write into any folder: checks of read-only folders run with the rights of the
// unprivileged user "nobody" then, given back when the check ends.
class Unprivileged
{
public:
    Unprivileged()
    {
        if (::geteuid() == 0)
            m_dropped = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
    ~Unprivileged()
    {
        if (m_dropped && ::seteuid(0) == 0)
            (void)::setegid(0);
    }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;
    bool ok() const { return m_dropped || ::geteuid() != 0; }

private:
    bool m_dropped = false;
};

} // namespace

// Whole-file rewrites fail at every step in turn; the file on disk must then hold either its old
// or its new content, whole, and no staged copy may be left behind.
class TestRewrite : public QObject
{
    Q_OBJECT

private:
    // Runs the rewrite once with every fault point counted, then once for each point with a
    // failure injected there, and checks the file after each run.
    void failAtEveryStep(const std::function<void()> &prepare, const std::function<void()> &rewrite,
                         const QString &file, const QByteArray &oldBytes,
                         const QByteArray &newBytes)
    {
        const auto nothingLeft = [&] {
            return QDir(QFileInfo(file).path()).entryList(QDir::Hidden | QDir::Files) ==
                   QStringList{QFileInfo(file).fileName()};
        };
        int steps = 0;
        prepare();
        FileChannels::instance().setFaultHook([&](const char *) { return ++steps, false; });
        rewrite();
        QCOMPARE(RecordFileBytes::read(file), newBytes);
        QVERIFY(nothingLeft());
        QVERIFY2(steps >= 3, "the rewrite passed fewer fault points than it has steps");

        for (int failAt = 1; failAt <= steps; ++failAt) {
            prepare();
            int seen = 0;
            FileChannels::instance().setFaultHook([&](const char *) { return ++seen == failAt; });
            rewrite();
            const QByteArray now = RecordFileBytes::read(file);
            QVERIFY2(
                now == oldBytes || now == newBytes,
                qPrintable(QStringLiteral("half-written after a failure at step %1").arg(failAt)));
            QVERIFY2(nothingLeft(),
                     qPrintable(QStringLiteral("left behind at step %1").arg(failAt)));
        }
        FileChannels::instance().setFaultHook({});
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { FileChannels::instance().setFaultHook({}); }

    void deleteApplication()
    {
        const QString file = m_dir->path() + "/VAppCmd.txt";
        const QList<QByteArray> old{"A*a~V$1", "B*b~V$2", "C*c~V$3", "D*d~V$4"};
        const QByteArray oldBytes = RecordFileBytes::file(old, 270);
        const QByteArray newBytes = RecordFileBytes::file({old[0], old[2], old[3]}, 270);
        FakeDesktop desktop;
        ScriptedPrompter &prompter = desktop.prompter;
        MemoryListBox list;
        failAtEveryStep(
            [&] {
                RecordFileBytes::write(file, oldBytes);
                prompter.clear();
                list.clear();
            },
            [&] {
                CApp app(m_dir->path(), desktop.services(), &list);
                app.FillVACListBox();
                list.setSelectedIndex(1);
                app.DelRunApp();
                // A failure is told, and the list shows the entry again.
                const bool failed = !prompter.shown().isEmpty();
                QCOMPARE(list.items(),
                         failed ? QStringList({"A", "B", "C", "D"}) : QStringList({"A", "C", "D"}));
                if (failed)
                    QCOMPARE(prompter.shown().first().title,
                             QString("ERROR DELETE VOICE APPLIATION"));
            },
            file, oldBytes, newBytes);
    }

    // A folder that may not be written: the delete is refused with the reason, as deleting the
    // file there would be, and the file and the list stay as they were.
    void readOnlyFolder_data()
    {
        QTest::addColumn<bool>("vocabulary");
        QTest::newRow("application") << false;
        QTest::newRow("dictionary word") << true;
    }

    void readOnlyFolder()
    {
        QFETCH(bool, vocabulary);
        const QString folder = vocabulary ? m_dir->path() + "/vocab" : m_dir->path();
        QDir().mkpath(folder);
        const QString file = folder + (vocabulary ? "/Editing.txt" : "/VAppCmd.txt");
        const QByteArray before = vocabulary ? RecordFileBytes::file({"one:1", "two:2"}, 128)
                                             : RecordFileBytes::file({"A*a~V$1", "B*b~V$2"}, 270);
        RecordFileBytes::write(file, before);
        const auto readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(m_dir->path(), readAndEnter);
        QFile::setPermissions(folder, readAndEnter);
        const auto writable = qScopeGuard([&] {
            QFile::setPermissions(folder, QFile::Permissions(0x7755));
            QFile::setPermissions(m_dir->path(), QFile::Permissions(0x7755));
        });
        FakeDesktop desktop;
        MemoryListBox list;
        QString message;
        {
            Unprivileged nobody;
            QVERIFY(nobody.ok());
            if (vocabulary) {
                message = Vocabularies(m_dir->path()).deleteWord("Editing", 0).text;
            } else {
                CApp app(m_dir->path(), desktop.services(), &list);
                app.FillVACListBox();
                list.setSelectedIndex(0);
                app.DelRunApp();
                for (const auto &shown : desktop.prompter.shown())
                    message += shown.text;
                QCOMPARE(list.items(), QStringList({"A", "B"}));
            }
        }
        QVERIFY2(message.startsWith("70 Permission denied"), qPrintable(message));
        QVERIFY2(message.contains(folder), qPrintable(message));
        QCOMPARE(RecordFileBytes::read(file), before);
    }

    // The last word deleted leaves an empty file.
    void deleteOnlyWord()
    {
        QDir(m_dir->path()).mkdir("vocab");
        const QString file = m_dir->path() + "/vocab/V.txt";
        RecordFileBytes::write(file, RecordFileBytes::file({"only:1"}, 128));
        QVERIFY(Vocabularies(m_dir->path()).deleteWord("V", 0).isDone());
        QVERIFY(QFile::exists(file));
        QCOMPARE(RecordFileBytes::read(file), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestRewrite)
#include "tst_rewrite.moc"
