#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class SphinxRecognizer;
class MeteredSource;

// The real recognizer listening to the soak's files at full speed, a stretch at a time.
class SoakListener
{
public:
    SoakListener(const QStringList &files, const QString &grammar);
    ~SoakListener();

    // Loads the model and the grammar.
    bool load(QString *error);
    // Listens to the next `samples` of the files, then to two seconds of silence so that the
    // last phrase is decided, and stops.
    bool listen(qint64 samples, QString *error);
    QStringList heard() const { return m_heard; }

private:
    MeteredSource *m_source; // owned by the recognizer
    std::unique_ptr<SphinxRecognizer> m_recognizer;
    QString m_grammar;
    QStringList m_heard;
};
