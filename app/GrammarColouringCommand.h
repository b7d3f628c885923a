// 设置 → 按语法着色: colouring by each language's grammar, kept in the
// settings store as "Settings"/"GrammarColouring" (off by default).
#pragma once

class IFrameAccess;

namespace GrammarColouringCommand {

// Applies the stored choice and handles the command: switching recolours
// every open editor at once.
void Register(IFrameAccess* frame);

} // namespace GrammarColouringCommand
