#include "engine/SampleVocabularies.h"
#include "engine/Vocabularies.h"
#include "platform/KeystrokeParser.h"
#include "support/RecordFileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kShipped = QStringLiteral(JEV_SOURCE_RESOURCES "/samples");

} // namespace

// The sample vocabularies shipped with the program, and the first-run copy of them.
class TestSampleVocabularies : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString data() const { return m_dir->filePath("data"); }
    void makeVocab(const QString &name, const QList<QByteArray> &words)
    {
        RecordFileBytes::write(data() + "/vocab/" + name + ".txt",
                               RecordFileBytes::file(words, 128));
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Every sample is copied byte for byte into a real file of its own, so that the user's
    // changes leave the shipped one alone. Every word reads back, types valid keystrokes and is a
    // phrase of its own: all vocabularies go into one grammar, so the same phrase twice would be
    // ambiguous.
    void shippedSamplesAreUsable()
    {
        const SampleVocabularies samples(data(), kShipped);
        QCOMPARE(samples.names(), QStringList({"Browser", "Editor", "Terminal"}));
        QStringList copied;
        QVERIFY(samples.copyInto(&copied).isDone());
        QCOMPARE(copied, samples.names());
        QVERIFY(!SampleVocabularies::isFirstRun(data()));
        QSet<QString> phrases;
        for (const QString &name : copied) {
            const QFileInfo copy(data() + "/vocab/" + name + ".txt");
            QVERIFY(copy.isFile() && !copy.isSymLink());
            QCOMPARE(RecordFileBytes::read(copy.filePath()),
                     RecordFileBytes::read(kShipped + "/" + name + ".txt"));
            const Vocabularies::Words words = Vocabularies(data()).words(name);
            QVERIFY2(words.result.isDone(), qPrintable(name + ": " + words.result.detail));
            QVERIFY2(words.words.size() >= 12, qPrintable(name));
            for (const QString &word : words.words) {
                const QString phrase = word.section(':', 0, 0);
                const QString keys = word.section(':', 1);
                QVERIFY2(!phrase.isEmpty() && !keys.isEmpty(), qPrintable(word));
                QVERIFY2(phrase.split(' ').size() >= 2, qPrintable(word + ": too short to tell"));
                const KeystrokeParser::Result parsed = KeystrokeParser::parse(keys);
                QVERIFY2(parsed.error.isEmpty(), qPrintable(word + ": " + parsed.error));
                QVERIFY2(!phrases.contains(phrase), qPrintable(phrase + " twice"));
                phrases.insert(phrase);
            }
        }
    }

    void firstRun_data()
    {
        QTest::addColumn<bool>("appList");
        QTest::addColumn<bool>("vocabulary");
        QTest::addColumn<bool>("firstRun");
        QTest::addColumn<bool>("emptyList");
        QTest::newRow("nothing yet") << false << false << true << false;
        QTest::newRow("an empty application list") << true << false << true << true;
        QTest::newRow("an application") << true << false << false << false;
        QTest::newRow("a vocabulary") << false << true << false << false;
        QTest::newRow("both") << true << true << false << false;
    }

    void firstRun()
    {
        QFETCH(bool, appList);
        QFETCH(bool, vocabulary);
        QFETCH(bool, firstRun);
        QFETCH(bool, emptyList);
        if (appList)
            RecordFileBytes::write(data() + "/VAppCmd.txt",
                                   emptyList ? QByteArray()
                                             : RecordFileBytes::file({"XTerm \xA6 x*"}, 270));
        if (vocabulary)
            makeVocab("Mine", {"hello:hi"});
        QCOMPARE(SampleVocabularies::isFirstRun(data()), firstRun);
    }

    // A vocabulary of the user's with a sample's name (case ignored) is kept as it is.
    void keepsTheUsersVocabularies()
    {
        makeVocab("editor", {"mine:^m"});
        QStringList copied;
        QVERIFY(SampleVocabularies(data(), kShipped).copyInto(&copied).isDone());
        QCOMPARE(copied, QStringList({"Browser", "Terminal"}));
        QCOMPARE(Vocabularies(data()).words("editor").words, QStringList{"mine:^m"});
        QVERIFY(!QFileInfo::exists(data() + "/vocab/Editor.txt"));
    }

    void refusals_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<bool>("withSamples");
        QTest::addColumn<QString>("message");
        QTest::newRow("more than 30 vocabularies")
            << 28 << true << "You Have Too Many Vocabularies Already!  The Maximum is 30.";
        QTest::newRow("no samples installed")
            << 0 << false << "The sample vocabularies are missing from this installation.";
    }

    void refusals()
    {
        QFETCH(int, existing);
        QFETCH(bool, withSamples);
        QFETCH(QString, message);
        for (int i = 0; i < existing; ++i)
            makeVocab(QString("V%1").arg(i), {"a b:c"});
        const SampleVocabularies samples(data(), withSamples ? kShipped : m_dir->filePath("none"));
        const EditResult result = samples.copyInto();
        QCOMPARE(result.outcome, EditResult::Outcome::Refused);
        QCOMPARE(result.text, message);
        QCOMPARE(Vocabularies(data()).names().size(), existing);
    }

    // A copy that cannot be written (here a folder stands where the file would go, which stops
    // root too) fails with the file's name and leaves no half-written file.
    void copyThatCannotBeWrittenFails()
    {
        QVERIFY(QDir().mkpath(data() + "/vocab/Browser.txt"));
        const EditResult result = SampleVocabularies(data(), kShipped).copyInto();
        QCOMPARE(result.outcome, EditResult::Outcome::Failed);
        QVERIFY2(result.text.contains("could not be copied") && result.text.contains("Browser"),
                 qPrintable(result.text));
        QCOMPARE(QDir(data() + "/vocab").entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSampleVocabularies)
#include "tst_samplevocabularies.moc"
