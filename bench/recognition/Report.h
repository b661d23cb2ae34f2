#pragma once

#include <QList>
#include <QString>
#include <QTextStream>

// One decision of the engine: for a command, whether the phrase was right.
struct Decision
{
    bool isCommand;
    bool right;
    double coverage;
    double belowVoiceDb;
    double pace;
    bool aside = false;
    double asideDb = 0;
};

// What one decoder did under one condition.
struct Tally
{
    int commands = 0;
    int correct = 0;
    int wrong = 0;
    int oog = 0;
    int oogAccepted = 0;
    QList<double> delays;
    QList<Decision> decisions;

    // heard: the phrases the decoder gave for one file of speech, which said its text sayings
    // times: a command counts when each saying was heard as itself and nothing else was.
    void add(bool isCommand, const QString &said, const QStringList &heard, int sayings = 1);
    // Whether heard is the command said, sayings times, and nothing else.
    static bool heardAsSaid(const QString &said, const QStringList &heard, int sayings)
    {
        return heard.size() == sayings && heard.count(said) == sayings;
    }
    double accuracy() const { return 100.0 * correct / qMax(1, commands); }
    double oogRate() const { return 100.0 * oogAccepted / qMax(1, oog); }
};

// Phrases taken for commands in minutes of talk without any.
struct TalkTally
{
    QString name;
    double minutes = 0;
    int accepted = 0;
    int peerAccepted = -1; // -1: the peer did not run
    QStringList heard;
    QList<Decision> decisions;
};

namespace Report {

double percentile(QList<double> values, double p);
// The table of conditions: the engine's figures, and the peer's beside them when it ran.
void conditions(QTextStream &out, const QStringList &names, const QList<Tally> &ours,
                const QList<Tally> &peer);
void talk(QTextStream &out, const QList<TalkTally> &talks);
// The effect of each coverage threshold, from the decisions of a run that refused none.
void sweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies);
// The same for the margin below the user's voice level, with the talk alone, among the results
// that pass the coverage threshold.
void gateSweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
               const QList<TalkTally> &talks, double minCoverage);
// The same for the most frames per phone of a phrase's slowest word, among the results that
// pass the coverage threshold and the margin.
// Accuracy and OOG for the least margin of the speech beside a phrase under it, for a few
// coverage thresholds, among the results that pass the voice margin.
void asideSweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
                const QList<TalkTally> &talks, double marginDb);
void paceSweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
               const QList<TalkTally> &talks, double minCoverage, double marginDb);

} // namespace Report
