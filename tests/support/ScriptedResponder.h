// Answers the program's prompts in tests and records what was asked.
#pragma once

#include <QList>
#include <QStringList>

#include "UserPrompt.h"

class CScriptedResponder : public UserPrompt::Responder
{
public:
    CScriptedResponder() { UserPrompt::SetResponder(this); }
    ~CScriptedResponder() override { UserPrompt::SetResponder(nullptr); }

    QList<UserPrompt::Answer> answers;   // taken in order; Cancel when empty
    QStringList files;                   // taken in order; "" (cancelled) when empty
    QList<UserPrompt::Request> asked;    // every prompt, in order

    QStringList Texts(UserPrompt::Request::Kind kind) const
    {
        QStringList out;
        for (const auto& r : asked)
            if (r.kind == kind)
                out << r.text;
        return out;
    }

    UserPrompt::Answer Ask(const UserPrompt::Request& request) override
    {
        asked << request;
        return answers.isEmpty() ? UserPrompt::Answer::Cancel : answers.takeFirst();
    }
    void Shown(const UserPrompt::Request& request) override { asked << request; }
    QString ChooseFile(const UserPrompt::Request& request) override
    {
        asked << request;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
};
