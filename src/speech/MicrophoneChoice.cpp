#include "MicrophoneChoice.h"

#include "config/StretchContainer.h"
#include "recognizer/Recognizer.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/audio/SoundServerMessages.h"

#include <QComboBox>
#include <QLabel>

namespace {

// Item data of the entries: the source's name, its description for the entries of sources.
constexpr int kDescriptionRole = Qt::UserRole + 1;

} // namespace

MicrophoneChoice::MicrophoneChoice(SoundSources *sources, Recognizer &recognizer,
                                   StretchContainer *container, int top)
    : QObject(container), m_sources(sources), m_recognizer(recognizer), m_box(new QComboBox),
      m_state(new QLabel)
{
    m_box->setObjectName(QStringLiteral("cmbMicrophone"));
    m_box->setAccessibleName(QStringLiteral("Microphone"));
    m_box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_box->setMinimumContentsLength(12);
    m_box->setToolTip(QStringLiteral("Where the program listens. \"Default\" follows the input "
                                     "chosen in your sound settings, also when it changes."));
    auto *label = new QLabel(QStringLiteral("&Microphone:"));
    label->setObjectName(QStringLiteral("lblMicrophone"));
    label->setBuddy(m_box);
    m_state->setObjectName(QStringLiteral("lblMicrophoneState"));
    m_state->setWordWrap(true);
    m_state->setTextInteractionFlags(Qt::TextSelectableByMouse);
    container->addControl(label, QRect(240, top, 4335, 285));
    container->addControl(m_box, QRect(240, top + 300, 4335, 375));
    container->addControl(m_state, QRect(240, top + 720, 4335, 510));
    refresh();
    connect(m_box, &QComboBox::activated, this, &MicrophoneChoice::choose);
    connect(&m_recognizer, &Recognizer::listeningNotice, this, &MicrophoneChoice::tell);
}

void MicrophoneChoice::refresh()
{
    const SoundSource chosen = RecognizerSettings::microphone();
    QList<SoundSource> sources;
    QString defaultName;
    QString error;
    const bool listed = m_sources && m_sources->list(&sources, &defaultName, &error);
    QString defaultText = QStringLiteral("Default");
    for (const SoundSource &source : std::as_const(sources)) {
        if (source.name == defaultName)
            defaultText += QStringLiteral(": %1").arg(source.description);
    }
    m_box->clear();
    m_box->addItem(defaultText, QString());
    for (const SoundSource &source : std::as_const(sources))
        m_box->addItem(source.description, source.name);
    for (int i = 0; i < m_box->count(); ++i)
        m_box->setItemData(i, m_box->itemText(i), kDescriptionRole);
    int current = chosen.name.isEmpty() ? 0 : m_box->findData(chosen.name);
    QString state = listed ? QString() : error;
    if (current < 0) {
        // Kept as chosen: it is used again once it is back.
        const QString description = chosen.description.isEmpty() ? chosen.name : chosen.description;
        m_box->addItem(QStringLiteral("%1 (not connected)").arg(description), chosen.name);
        m_box->setItemData(m_box->count() - 1, description, kDescriptionRole);
        current = m_box->count() - 1;
        if (listed)
            state = SoundServerMessages::chosenSourceGone(description);
    } else if (listed && sources.isEmpty()) {
        state = SoundServerMessages::noSource();
    }
    m_box->setCurrentIndex(current);
    tell(state);
}

void MicrophoneChoice::choose(int index)
{
    const QString name = m_box->itemData(index).toString();
    RecognizerSettings::setMicrophone({name, m_box->itemData(index, kDescriptionRole).toString()});
    tell({});
    // The window is shown to watch the meter: listening again at once lets it show the new
    // microphone (and tries again after a failure).
    m_recognizer.Deactivate();
    if (QString error; !m_recognizer.Activate(&error))
        tell(error);
}

void MicrophoneChoice::tell(const QString &message)
{
    m_state->setText(message);
}
