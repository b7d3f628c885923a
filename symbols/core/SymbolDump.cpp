// quillet-symbols: prints the declarations our reader finds in each PHP file
// named, one a line: file, line, kind, scope, name (for comparing with other readers).
#include <QFile>
#include <cstdio>

#include "PhpSymbolReader.h"

int main(int argc, char** argv)
{
    for (int a = 1; a < argc; ++a) {
        QFile file(QString::fromLocal8Bit(argv[a]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[a]);
            continue;
        }
        const QByteArray bytes = file.readAll();
        for (const CSymbol& s : PhpSymbolReader::Read(std::string_view(bytes.constData(), bytes.size())))
            std::printf("%s\t%d\t%s\t%s\t%s\n", argv[a], s.line, SymbolKinds::Name(s.kind).data(), s.scope.c_str(),
                        s.name.c_str());
    }
    return 0;
}
