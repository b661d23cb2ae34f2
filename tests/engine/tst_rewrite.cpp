#include "data/FileChannels.h"
#include "data/MemoryListBox.h"
#include "engine/ApplicationList.h"
#include "engine/CApp.h"
#include "engine/Vocabularies.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
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
    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { FileChannels::instance().setFaultHook({}); }

    // The first run counts the fault points of a whole delete; then each point fails in turn.
    void deleteApplication()
    {
        const QString file = m_dir->path() + "/VAppCmd.txt";
        const QList<QByteArray> old{"A*a~V$1", "B*b~V$2", "C*c~V$3", "D*d~V$4"};
        const QByteArray oldBytes = RecordFileBytes::file(old, 270);
        const QByteArray newBytes = RecordFileBytes::file({old[0], old[2], old[3]}, 270);
        int steps = 0;
        for (int failAt = 0; failAt <= steps; ++failAt) {
            RecordFileBytes::write(file, oldBytes);
            int seen = 0;
            FileChannels::instance().setFaultHook([&](const char *) { return ++seen == failAt; });
            FakeDesktop desktop;
            MemoryListBox list;
            CApp app(m_dir->path(), desktop.services(), &list);
            app.FillVACListBox();
            list.setSelectedIndex(1);
            app.DelRunApp();
            if (failAt == 0) {
                steps = seen;
                QVERIFY2(steps >= 3, "the rewrite passed fewer fault points than it has steps");
            }
            const QByteArray now = RecordFileBytes::read(file);
            const QString at = QString::number(failAt);
            QVERIFY2(now == newBytes || (failAt > 0 && now == oldBytes),
                     qPrintable("half-written after a failure at step " + at));
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Hidden | QDir::Files),
                     QStringList{"VAppCmd.txt"});
            // A failure is told, and the list shows the entry again.
            const bool failed = !desktop.prompter.shown().isEmpty();
            QCOMPARE(list.items(),
                     failed ? QStringList({"A", "B", "C", "D"}) : QStringList({"A", "C", "D"}));
            if (failed)
                QCOMPARE(desktop.prompter.shown().first().title,
                         QString("ERROR DELETE VOICE APPLIATION"));
        }
    }

    // Folders that may not be written, with files nobody else may write: the lists can still be
    // read, and every edit fails with a reason and changes nothing; a delete is refused as
    // deleting the file there would be, with the folder.
    void readOnlyFolders()
    {
        const QString data = m_dir->path();
        const QString vocab = data + "/vocab";
        QDir().mkpath(vocab);
        const QByteArray apps = RecordFileBytes::file({"A*a~V$1", "B*b~V$2"}, 270);
        const QByteArray words = RecordFileBytes::file({"one:1", "two:2"}, 128);
        RecordFileBytes::write(data + "/VAppCmd.txt", apps);
        RecordFileBytes::write(vocab + "/V.txt", words);
        const auto readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(data, readAndEnter);
        QFile::setPermissions(vocab, readAndEnter);
        const auto writable = qScopeGuard([&] {
            QFile::setPermissions(vocab, QFile::Permissions(0x7755));
            QFile::setPermissions(data, QFile::Permissions(0x7755));
        });
        ApplicationList list(data);
        Vocabularies vocabularies(data);
        {
            Unprivileged nobody;
            QVERIFY(nobody.ok());
            QCOMPARE(list.entries().names(), QStringList({"A", "B"}));
            QVERIFY(list.entries().result.isDone());
            QCOMPARE(vocabularies.words("V").words, QStringList({"one:1", "two:2"}));
            const QList<std::tuple<QString, EditResult, QString>> edits{
                {"delete application", list.remove({"A", "B"}, 0), data},
                {"delete word", vocabularies.deleteWord("V", 0), vocab},
                {"add application", list.add("C ¦ c"), ""},
                {"save application", list.save(0, "x", "V", "p"), ""},
                {"new vocabulary", vocabularies.create("W"), ""},
                {"add word", vocabularies.addWord("V", "three:3"), ""},
                {"grammar", vocabularies.writeGrammar(), ""}};
            for (const auto &[edit, result, folder] : edits) {
                QVERIFY2(!result.isDone() && !result.text.isEmpty(), qPrintable(edit));
                if (!folder.isEmpty()) {
                    QVERIFY2(result.text.startsWith("70 Permission denied") &&
                                 result.text.contains(folder),
                             qPrintable(edit + ": " + result.text));
                }
            }
        }
        QCOMPARE(RecordFileBytes::read(data + "/VAppCmd.txt"), apps);
        QCOMPARE(RecordFileBytes::read(vocab + "/V.txt"), words);
        QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{"VAppCmd.txt"});
        QCOMPARE(QDir(vocab).entryList(QDir::Files | QDir::Hidden), QStringList{"V.txt"});
    }
};

QTEST_GUILESS_MAIN(TestRewrite)
#include "tst_rewrite.moc"
