#pragma once
// A dialog backend for tests: records every dialog shown and answers from a script.
#include "platform/Dialogs.h"

#include <QImage>
#include <QList>
#include <QQueue>
#include <QString>

struct ShownDialog {
    DialogBackend::Kind kind;
    QString title;
    QString text;
    int maxLength = 0;
    QImage picture; // of Kind::ConfirmPicture
};

class ScriptedDialogs final : public DialogBackend {
public:
    // Queued answers, taken in order by dialogs that ask something (confirmations, prompts,
    // the picture dialog). An empty queue answers Yes/OK with the empty text.
    struct Answer {
        bool accept = true;
        QString text;
    };
    QQueue<Answer> answers;
    QList<ShownDialog> shown;

    void answerYes() { answers.enqueue({true, {}}); }
    void answerNo() { answers.enqueue({false, {}}); }
    void answerText(const QString &text) { answers.enqueue({true, text}); }
    void answerCancel() { answers.enqueue({false, {}}); }

    // The texts shown, in order; and those of one kind.
    QStringList texts() const;
    QStringList texts(Kind kind) const;

    bool show(Kind kind, const QString &title, const QString &text, int maxLength,
              QWidget *parent, QString &answer) override;
    bool showWithPicture(const QString &title, const QString &text, const QImage &picture) override;
};

// Installs a ScriptedDialogs for the life of the guard and gives access to it.
class ScriptedDialogsGuard {
public:
    ScriptedDialogsGuard();
    ~ScriptedDialogsGuard();
    ScriptedDialogs &operator*() { return *m_dialogs; }
    ScriptedDialogs *operator->() { return m_dialogs; }

private:
    ScriptedDialogs *m_dialogs;
    std::unique_ptr<DialogBackend> m_previous;
};
