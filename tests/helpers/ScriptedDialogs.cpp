#include "helpers/ScriptedDialogs.h"

QStringList ScriptedDialogs::texts() const
{
    QStringList all;
    for (const ShownDialog &d : shown)
        all << d.text;
    return all;
}

QStringList ScriptedDialogs::texts(Kind kind) const
{
    QStringList some;
    for (const ShownDialog &d : shown)
        if (d.kind == kind)
            some << d.text;
    return some;
}

bool ScriptedDialogs::show(Kind kind, const QString &title, const QString &text, int maxLength,
                           QWidget *, QString &answer)
{
    shown.append({kind, title, text, maxLength});
    const bool asks = kind == Kind::Confirm || kind == Kind::ConfirmPlain || kind == Kind::ConfirmPicture
                      || kind == Kind::Prompt || kind == Kind::ChoosePicture;
    if (!asks)
        return true;
    const Answer a = answers.isEmpty() ? Answer{} : answers.dequeue();
    answer = a.accept ? a.text : QString();
    return a.accept;
}

bool ScriptedDialogs::showWithPicture(const QString &title, const QString &text, const QImage &picture)
{
    QString unused;
    const bool yes = show(Kind::ConfirmPicture, title, text, 0, nullptr, unused);
    shown.last().picture = picture;
    return yes;
}

ScriptedDialogsGuard::ScriptedDialogsGuard()
{
    auto dialogs = std::make_unique<ScriptedDialogs>();
    m_dialogs = dialogs.get();
    m_previous = setDialogBackend(std::move(dialogs));
}

ScriptedDialogsGuard::~ScriptedDialogsGuard()
{
    setDialogBackend(std::move(m_previous));
}
