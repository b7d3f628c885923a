// Checks the active text with `php -l` in the background, never from a file:
// the text is handed to php on its standard input, so nothing is saved.
#pragma once

#include <QObject>
#include <QPointer>

#include "core/PhpLintResult.h"

class QProcess;
class QTimer;
class QsciScintilla;

class CPhpSyntaxCheck : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 10000;
    static constexpr int kErrorMarker = 1;

    explicit CPhpSyntaxCheck(QObject* parent = nullptr);
    ~CPhpSyntaxCheck() override;

    // The interpreter: "Settings"/"PhpPath" when set, else php on PATH; empty
    // when there is none.
    static QString FindPhp();

    // Starts a check of editor's text (a check still running is stopped);
    // false when there is no interpreter to run.
    bool Start(QsciScintilla* editor);
    bool IsRunning() const;

    // The error line's mark in the left margin (line from 1), tip its
    // tooltip; and its removal.
    static void MarkLine(QsciScintilla* editor, int line, const QString& tip = QString());
    static void ClearMarks(QsciScintilla* editor);
    // The tooltip at pos (in the editor's viewport): the mark's, over a
    // marked line's margin; empty elsewhere.
    static QString TipAt(QsciScintilla* editor, const QPoint& pos);

signals:
    // The check is over: its result, or a message when php could not say.
    void checked(QsciScintilla* editor, const CPhpLintResult& result);
    void failed(const QString& message);

private:
    void OnFinished();
    void Stop();

    QProcess* m_pProcess = nullptr;
    QTimer* m_pTimer;
    QPointer<QsciScintilla> m_pEditor;
    QByteArray m_output;
};
