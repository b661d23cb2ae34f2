#include "Report.h"

#include <algorithm>
#include <functional>

void Tally::add(bool isCommand, const QString &said, const QStringList &heard, int sayings)
{
    if (!isCommand) {
        ++oog;
        oogAccepted += heard.isEmpty() ? 0 : 1;
        return;
    }
    ++commands;
    if (heardAsSaid(said, heard, sayings))
        ++correct;
    else if (heard.count(said) < heard.size() || heard.size() > sayings)
        ++wrong; // something else heard, or more than was said; a saying missed is not wrong
}

double Report::percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype i = qMin(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5));
    return values[i];
}

namespace {

QString ratio(double percent, int part, int whole)
{
    return QStringLiteral("%1% (%2/%3)").arg(percent, 0, 'f', 1).arg(part).arg(whole);
}

} // namespace

void Report::conditions(QTextStream &out, const QStringList &names, const QList<Tally> &ours,
                        const QList<Tally> &peer)
{
    out << QStringLiteral("%1 %2 %3 %4 %5 %6")
               .arg("condition", -14)
               .arg("command accuracy", 18)
               .arg("wrong", 6)
               .arg("OOG accepted", 14)
               .arg("median ms", 10)
               .arg("p90 ms", 7);
    if (!peer.isEmpty())
        out << QStringLiteral(" | %1 %2").arg("peer accuracy", 18).arg("peer OOG", 14);
    out << "\n";
    for (qsizetype c = 0; c < names.size(); ++c) {
        const Tally &t = ours[c];
        out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(names[c], -14)
                   .arg(ratio(t.accuracy(), t.correct, t.commands), 18)
                   .arg(t.wrong, 6)
                   .arg(ratio(t.oogRate(), t.oogAccepted, t.oog), 14)
                   .arg(percentile(t.delays, 0.5), 10, 'f', 0)
                   .arg(percentile(t.delays, 0.9), 7, 'f', 0);
        if (!peer.isEmpty() && peer[c].commands == 0) {
            out << " | not run on one stream";
        } else if (!peer.isEmpty()) {
            const Tally &p = peer[c];
            out << QStringLiteral(" | %1 %2")
                       .arg(ratio(p.accuracy(), p.correct, p.commands), 18)
                       .arg(ratio(p.oogRate(), p.oogAccepted, p.oog), 14);
        }
        out << "\n";
    }
}

void Report::talk(QTextStream &out, const QList<TalkTally> &talks)
{
    for (const TalkTally &t : talks) {
        out << QStringLiteral("%1: %2 min, %3 false commands, %4 a minute")
                   .arg(t.name)
                   .arg(t.minutes, 0, 'f', 1)
                   .arg(t.accepted)
                   .arg(t.accepted / t.minutes, 0, 'f', 2);
        if (t.peerAccepted >= 0)
            out << QStringLiteral(" | peer %1, %2 a minute")
                       .arg(t.peerAccepted)
                       .arg(t.peerAccepted / t.minutes, 0, 'f', 2);
        out << "\n";
        if (!t.heard.isEmpty())
            out << "  heard: " << t.heard.join(QStringLiteral(", ")) << "\n";
    }
}

namespace {

using Passes = std::function<bool(const Decision &)>;

// The rest of a sweep's line: accuracy / OOG accepted under each condition, and false commands a
// minute in each stretch of talk alone, counting the decisions that pass.
void sweepLine(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
               const QList<TalkTally> &talks, const Passes &passes, const Passes &talkPasses)
{
    for (qsizetype c = 0; c < names.size(); ++c) {
        int right = 0;
        int accepted = 0;
        for (const Decision &d : tallies[c].decisions) {
            if (!passes(d))
                continue;
            if (d.isCommand)
                right += d.right ? 1 : 0;
            else
                ++accepted;
        }
        out << QStringLiteral("   %1: %2% / %3%")
                   .arg(names[c])
                   .arg(100.0 * right / qMax(1, tallies[c].commands), 0, 'f', 1)
                   .arg(100.0 * accepted / qMax(1, tallies[c].oog), 0, 'f', 1);
    }
    for (const TalkTally &t : talks) {
        const auto n = std::count_if(t.decisions.begin(), t.decisions.end(), talkPasses);
        out << QStringLiteral("   (%1)").arg(double(n) / t.minutes, 0, 'f', 2);
    }
    out << "\n";
}

} // namespace

void Report::sweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies)
{
    out << "\ncoverage threshold: command accuracy / OOG accepted\n";
    for (int percent = 40; percent <= 90; percent += 5) {
        out << QString::number(percent).rightJustified(5) << "%";
        const auto passes = [percent](const Decision &d) { return d.coverage * 100 >= percent; };
        sweepLine(out, names, tallies, {}, passes, passes);
    }
}

void Report::gateSweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
                       const QList<TalkTally> &talks, double minCoverage)
{
    out << "\nmargin below the voice level, coverage at least " << minCoverage
        << ": command accuracy / OOG accepted (false commands a minute)\n";
    for (int margin = 0; margin <= 30; margin += 2) {
        out << QString::number(margin).rightJustified(5) << " dB";
        sweepLine(
            out, names, tallies, talks,
            [&](const Decision &d) {
                return d.belowVoiceDb <= margin && d.coverage >= minCoverage;
            },
            [margin](const Decision &d) { return d.belowVoiceDb <= margin; });
    }
}

void Report::paceSweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
                       const QList<TalkTally> &talks, double minCoverage, double marginDb)
{
    out << "\nmost frames per phone, coverage at least " << minCoverage << ", margin " << marginDb
        << " dB: command accuracy / OOG accepted (false commands a minute)\n";
    for (const double most : {8.0, 10.0, 12.0, 14.0, 16.0, 18.0, 20.0, 25.0, 30.0, 1000.0}) {
        out << QString::number(most).rightJustified(6);
        const auto passes = [&](const Decision &d) {
            return d.coverage >= minCoverage && d.belowVoiceDb <= marginDb && d.pace <= most;
        };
        sweepLine(out, names, tallies, talks, passes, passes);
    }
}

void Report::asideSweep(QTextStream &out, const QStringList &names, const QList<Tally> &tallies,
                        const QList<TalkTally> &talks, double marginDb)
{
    out << "\ncoverage at least / speech beside a phrase at least N dB under it (off: refused), "
           "margin "
        << marginDb << " dB: command accuracy / OOG accepted (false commands a minute)\n";
    for (const double coverage : {0.5, 0.6, 0.75}) {
        for (const double aside : {0.0, 3.0, 6.0, 8.0, 10.0, 15.0, 1000.0}) {
            out << QString::number(coverage).rightJustified(5) << " "
                << (aside >= 1000 ? QStringLiteral("off") : QString::number(aside))
                       .rightJustified(4);
            const auto passes = [&](const Decision &d) {
                return d.coverage >= coverage && d.belowVoiceDb <= marginDb &&
                       (!d.aside || d.asideDb >= aside);
            };
            sweepLine(out, names, tallies, talks, passes, passes);
        }
    }
}
