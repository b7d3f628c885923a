// Large, real-looking PHP pages (PHP mixed with HTML, CSS and JavaScript,
// Simplified Chinese text) written to disk for the load and save benchmarks.
#pragma once

#include <QByteArray>
#include <QString>

namespace PhpPage {

enum class Variant {
    Utf8Lf,     // UTF-8, LF line breaks
    Utf8CrLf,   // UTF-8, CR LF line breaks
    GbkCrLf     // GBK (as GB18030 writes it), CR LF line breaks
};

const char* VariantName(Variant variant);

// The page's text in UTF-8 with LF line breaks, at least bytes long: the
// same kind of block repeated with changing names, numbers and texts.
QByteArray Utf8Text(qsizetype bytes);

// The file's bytes for variant; empty when the conversion failed.
QByteArray FileBytes(const QByteArray& utf8Lf, Variant variant);

// Writes the variant's bytes into dir and returns the file's path (empty on failure).
QString WriteFile(const QString& dir, const QByteArray& utf8Lf, Variant variant);

} // namespace PhpPage
