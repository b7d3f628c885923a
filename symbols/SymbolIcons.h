// The small images of the symbol kinds: a coloured disc with the kind's letter.
#pragma once

#include <QIcon>

#include "Symbol.h"

namespace SymbolIcons {
QIcon Icon(SymbolKind kind);
}
