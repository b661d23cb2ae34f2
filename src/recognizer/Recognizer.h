#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The speech recognizer as the speech window sees it. Phrase and level events are delivered on
// the thread that owns the recognizer (the user-interface thread), one at a time, only while
// active.
class Recognizer : public QObject
{
    Q_OBJECT

public:
    // What the input has sounded like over the last seconds, for the level meter.
    enum class InputCondition
    {
        Normal,
        TooQuiet,
        Clipping
    };
    Q_ENUM(InputCondition)

    using QObject::QObject;
    ~Recognizer() override = default;

    // From then on the recognizer reports phrases of that grammar file (temp.txt) and its own
    // phrases (below); it may be called while active. False, with a message the caller can show,
    // when the file cannot be used; the previous grammar then stays.
    virtual bool LoadGrammarFile(const QString &path, QString *error = nullptr) = 0;
    // Starts listening; harmless when already listening. False, with a message the caller can
    // show, when there is no grammar or nothing to listen to (no microphone).
    virtual bool Activate(QString *error = nullptr) = 0;
    // Stops listening: no phrase event until the next Activate. Harmless when not listening.
    virtual void Deactivate() = 0;
    virtual bool isActive() const = 0;

    // The recognizer's own phrases, listened for beside the phrases of every grammar it loads
    // (the grammar file itself is left as it is) and reported like them, spelled as here. They
    // put the program to sleep and wake it without closing the microphone. A phrase of the
    // grammar that sounds the same is taken by these: the words must work whatever the
    // vocabularies hold, above all "wake up" while asleep.
    static QString sleepPhrase() { return QStringLiteral("go to sleep"); }
    static QString wakePhrase() { return QStringLiteral("wake up"); }
    static QStringList ownPhrases() { return {sleepPhrase(), wakePhrase()}; }

Q_SIGNALS:
    // One phrase of the loaded grammar, spelled exactly as the grammar file writes it, or one
    // of the recognizer's own phrases.
    void PhraseRecognized(const QString &phrase);
    // The input level: RMS amplitude of 16-bit samples (ordinary speech reaches a few thousand).
    void LevelChanged(int level);
    // Listening stopped by itself, for example because the microphone went away.
    void listeningFailed(const QString &message);
    // Listening started, but not quite as asked (another microphone than the chosen one); sent
    // during Activate.
    void listeningNotice(const QString &message);
    // The input became too quiet or clipped, or is fine again. Back to Normal when listening
    // stops.
    void inputConditionChanged(Recognizer::InputCondition condition);
};
