#include "SpeechWindowSession.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kShipped = QStringLiteral(JEV_SOURCE_RESOURCES "/samples");
const QStringList kSamples{"Browser.txt", "Editor.txt", "Terminal.txt"};

} // namespace

// The speech window's first start: the sample vocabularies are offered and written only when the
// user agrees; the status bar says what to do next.
class TestFirstRun : public SpeechWindowSession
{
    Q_OBJECT

private:
    QStringList vocabFiles() const
    {
        return QDir(data("vocab")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void init() { fresh(); }

    void offer_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << true;
        QTest::newRow("declined") << false;
    }

    void offer()
    {
        QFETCH(bool, accept);
        makeWindow();
        m_window->show();
        m_desktop->prompter.queueAnswer(accept);
        QStringList filesWhileAsked{"not asked"};
        bool appListWhileAsked = true;
        m_desktop->prompter.setWhileShown([&] {
            filesWhileAsked = vocabFiles();
            appListWhileAsked = QFileInfo(data("VAppCmd.txt")).size() > 0;
        });
        m_window->offerSamples();

        QCOMPARE(m_desktop->prompter.shown().size(), 1);
        const auto question = m_desktop->prompter.shown().first();
        QVERIFY(question.question);
        QCOMPARE(question.title, QString("Sample Vocabularies"));
        QVERIFY2(question.text.contains("Browser, Editor, Terminal"), qPrintable(question.text));
        QCOMPARE(filesWhileAsked, QStringList());
        QVERIFY(!appListWhileAsked);
        QCOMPARE(vocabFiles(), accept ? kSamples : QStringList());
        for (const QString &file : vocabFiles())
            QCOMPARE(RecordFileBytes::read(data("vocab/" + file)),
                     RecordFileBytes::read(kShipped + "/" + file));
        QCOMPARE(QFileInfo(data("VAppCmd.txt")).size(), 0);
        const QString status = phraseShown();
        QVERIFY2(status.contains("Configure") && status.contains("drag"), qPrintable(status));

        // Offered once: a second call (or start) does not ask again.
        m_window->offerSamples();
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
    }

    void notAFirstRun_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("slot");
        QTest::newRow("an application list") << "VAppCmd.txt" << 270;
        QTest::newRow("a vocabulary") << "vocab/Mine.txt" << 128;
    }

    void notAFirstRun()
    {
        QFETCH(QString, file);
        QFETCH(int, slot);
        RecordFileBytes::write(data(file), RecordFileBytes::file({"hello:^h"}, slot));
        makeWindow();
        m_window->offerSamples();
        QVERIFY(m_desktop->prompter.shown().isEmpty());
        QVERIFY(phraseShown().isEmpty());
        QVERIFY(!QFile::exists(data("vocab/Editor.txt")));
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_firstrun.moc"
