#include "recognizer/PhraseGraph.h"

#include <QTest>

// Phrases to the graph of words that the search runs on.
class TestPhraseGraph : public QObject
{
    Q_OBJECT

private:
    // "from word to" for each arc.
    static QStringList arcs(const PhraseGraph &graph)
    {
        QStringList arcs;
        for (const PhraseGraph::Arc &arc : graph.arcs())
            arcs.append(QStringLiteral("%1 %2 %3")
                            .arg(arc.from)
                            .arg(graph.words().at(arc.word))
                            .arg(arc.to));
        return arcs;
    }

private Q_SLOTS:
    void tree_data()
    {
        QTest::addColumn<QStringList>("phrases");
        QTest::addColumn<QStringList>("arcs");
        QTest::addColumn<int>("states");
        QTest::newRow("one word") << QStringList{"notepad"} << QStringList{"0 notepad 1"} << 2;
        QTest::newRow("shared first word") << QStringList{"page down", "page up"}
                                           << QStringList{"0 page 2", "2 down 1", "2 up 1"} << 3;
        QTest::newRow("phrase that a longer one goes on from")
            << QStringList{"page", "page down"} << QStringList{"0 page 1", "0 page 2", "2 down 1"}
            << 3;
        QTest::newRow("same phrase twice")
            << QStringList{"zoom in", "zoom in"} << QStringList{"0 zoom 2", "2 in 1"} << 3;
        QTest::newRow("word in two places")
            << QStringList{"go back", "back up"}
            << QStringList{"0 go 2", "2 back 1", "0 back 3", "3 up 1"} << 4;
        QTest::newRow("three words")
            << QStringList{"reply to sender", "reply to all"}
            << QStringList{"0 reply 2", "2 to 3", "3 sender 1", "3 all 1"} << 4;
    }
    void tree()
    {
        QFETCH(QStringList, phrases);
        QFETCH(QStringList, arcs);
        QFETCH(int, states);
        PhraseGraph graph;
        for (const QString &phrase : phrases)
            graph.addPhrase(phrase.split(' '));
        QCOMPARE(TestPhraseGraph::arcs(graph), arcs);
        QCOMPARE(graph.stateCount(), states);
        QCOMPARE(graph.words().size(),
                 QSet<QString>(graph.words().begin(), graph.words().end()).size());
    }

    void callersStatesComeFirst()
    {
        PhraseGraph graph;
        QCOMPARE(graph.addState(), 2);
        graph.addPhrase({"page", "down"});
        QCOMPARE(arcs(graph), (QStringList{"0 page 3", "3 down 1"}));
        QCOMPARE(graph.stateCount(), 4);
    }
};

QTEST_GUILESS_MAIN(TestPhraseGraph)
#include "tst_phrasegraph.moc"
