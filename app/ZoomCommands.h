// 放大, 缩小 and 恢复正常大小 of the 查看 menu: the text size of every editor window.
#pragma once

class CCommandMap;

void RegisterZoomCommands(CCommandMap& commands);
