#include "frmWhatCanISay.h"

#include "engine/CApp.h"
#include "engine/RunningApps.h"
#include "recognizer/Recognizer.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kFrontPollMs = 500;

QTreeWidgetItem *addGroup(QTreeWidget *tree, const QString &caption)
{
    auto *group = new QTreeWidgetItem(tree, {caption});
    group->setFirstColumnSpanned(true);
    group->setFlags(Qt::ItemIsEnabled);
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    return group;
}

} // namespace

frmWhatCanISay::frmWhatCanISay(CApp &app, RunningApps &runningApps, QWidget *parent)
    : QDialog(parent), m_app(app), m_runningApps(runningApps)
{
    setObjectName(QStringLiteral("frmWhatCanISay"));
    // The title names the program, so that phrases never type into this window.
    setWindowTitle(QStringLiteral("What Can I Say - JEV! Voice Command"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_lblFront = new QLabel;
    m_lblFront->setObjectName(QStringLiteral("lblFront"));
    m_lblFront->setWordWrap(true);
    m_lstPhrases = new QTreeWidget;
    m_lstPhrases->setObjectName(QStringLiteral("lstPhrases"));
    m_lstPhrases->setHeaderLabels({QStringLiteral("Say"), QStringLiteral("Does")});
    m_lstPhrases->setAccessibleName(QStringLiteral("Phrases"));
    m_lstPhrases->setRootIsDecorated(false);
    m_lstPhrases->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto *cmdClose = new QPushButton(QStringLiteral("&Close"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblFront);
    layout->addWidget(m_lstPhrases, 1);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
    resize(420, 480);

    m_tmrFront = new QTimer(this);
    m_tmrFront->setObjectName(QStringLiteral("tmrFront"));
    m_tmrFront->setInterval(kFrontPollMs);
    connect(m_tmrFront, &QTimer::timeout, this, &frmWhatCanISay::followFront);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmWhatCanISay::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_window = 0; // whatever is in front now is listed afresh
    followFront();
    m_tmrFront->start();
}

void frmWhatCanISay::hideEvent(QHideEvent *event)
{
    m_tmrFront->stop();
    QDialog::hideEvent(event);
}

void frmWhatCanISay::followFront()
{
    const WindowId front = m_runningApps.windowSystem().foregroundWindow();
    const QString title = m_runningApps.windowTitle(front);
    if (m_window && (!front || CApp::isOwnWindowTitle(title)))
        return; // the user looks at this program: keep the application worked in before
    if (front == m_window && title == m_title)
        return;
    m_window = front;
    m_title = title;
    refresh();
}

void frmWhatCanISay::refresh()
{
    const CApp::Sayable sayable = m_app.WhatCanBeSaid(m_window);
    const QString entry = RunningApps::entryText(m_runningApps.windowClassName(m_window), m_title);
    if (!m_window)
        m_lblFront->setText(QStringLiteral("No application is in front."));
    else if (sayable.vocabulary.isEmpty())
        m_lblFront->setText(QStringLiteral("In front: %1\nIt has no vocabulary: only the spoken "
                                           "names work.")
                                .arg(entry));
    else
        m_lblFront->setText(
            QStringLiteral("In front: %1\nVocabulary: %2").arg(entry, sayable.vocabulary));
    m_lstPhrases->clear();
    QTreeWidgetItem *names = addGroup(m_lstPhrases, QStringLiteral("Spoken names"));
    for (const auto &[spoken, application] : sayable.spokenNames)
        new QTreeWidgetItem(names, {spoken, QStringLiteral("switch to ") + application});
    if (!sayable.vocabulary.isEmpty()) {
        QTreeWidgetItem *words =
            addGroup(m_lstPhrases, QStringLiteral("Words of %1").arg(sayable.vocabulary));
        for (const QString &word : sayable.words) {
            const qsizetype colon = word.indexOf(QLatin1Char(':'));
            new QTreeWidgetItem(words,
                                {word.left(colon), QStringLiteral("keys ") + word.mid(colon + 1)});
        }
    }
    QTreeWidgetItem *own = addGroup(m_lstPhrases, QStringLiteral("Always"));
    new QTreeWidgetItem(own,
                        {Recognizer::sleepPhrase(), QStringLiteral("stop acting on commands")});
    new QTreeWidgetItem(own, {Recognizer::wakePhrase(), QStringLiteral("act on commands again")});
    m_lstPhrases->expandAll();
}
