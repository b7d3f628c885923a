// What `php -l` said about a text read from its standard input.
#pragma once

#include <QString>

struct CPhpLintResult
{
    bool bClean = false;
    int nLine = 0;        // the reported line (from 1); 0 when none was named
    QString strMessage;   // PHP's own message, without the "in Standard input code" tail
};

// Reads php's combined output and its exit code.
CPhpLintResult ParsePhpLintOutput(const QString& output, int exitCode);
