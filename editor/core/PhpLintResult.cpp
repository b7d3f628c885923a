#include "PhpLintResult.h"

#include <QRegularExpression>
#include <QStringList>

CPhpLintResult ParsePhpLintOutput(const QString& output, int exitCode)
{
    CPhpLintResult result;
    result.bClean = exitCode == 0 && output.contains(QLatin1String("No syntax errors detected"));
    if (result.bClean)
        return result;
    // "PHP Parse error:  syntax error, unexpected ... in Standard input code on line 3"
    // (the same without "PHP " on standard output); the first such line counts,
    // and its last " in " starts the file name (a message may hold " in " itself).
    static const QRegularExpression error(
        QStringLiteral("^(?:PHP )?((?:Parse|Fatal) error:\\s*(.*))\\s+in\\s+\\S.*?\\s+on line (\\d+)\\s*$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = error.match(output);
    if (m.hasMatch()) {
        result.nLine = m.captured(3).toInt();
        result.strMessage = m.captured(1).simplified();
        return result;
    }
    // Anything else php said, as it said it.
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && !t.startsWith(QLatin1String("Errors parsing"))) {
            result.strMessage = t;
            break;
        }
    }
    if (result.strMessage.isEmpty())
        result.strMessage = output.trimmed();
    return result;
}
