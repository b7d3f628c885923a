// Numeric command ids of the menus, toolbar and context menus, and fixed child-control ids.
#pragma once

namespace Cmd {
// File
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileClose = 57602;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FilePrintSetup = 57606;
constexpr int FilePrint = 57607;
constexpr int FilePrintDirect = 57608;
constexpr int FilePrintPreview = 57609;
constexpr int FileMruFirst = 57616;
constexpr int AppExit = 57665;
constexpr int SaveAsCode = 32791;
constexpr int SaveAll = 32794;
constexpr int CloseAll = 32795;
constexpr int OpenSite = 32807;
constexpr int FindInFiles = 32845;
constexpr int SiteFindInFolder = 32846;
// File: reading again, line breaks and encoding of the active document;
// reopening the last session; the site's preview in a browser.
constexpr int FileReload = 32960;
constexpr int LineBreakCrLf = 32961;
constexpr int LineBreakLf = 32962;
constexpr int LineBreakCr = 32963;
constexpr int EncodingUtf8 = 32964;
constexpr int EncodingGb18030 = 32965;
constexpr int RestoreSession = 32966;
constexpr int SitePreview = 32967;
constexpr int SiteStopPreview = 32968;
// Edit
constexpr int EditUndo = 57643;
constexpr int EditCut = 57635;
constexpr int EditCopy = 57634;
constexpr int EditPaste = 57637;
constexpr int EditInsert = 32792;
constexpr int EditRedo = 57644;
constexpr int EditSelectAll = 57642;
constexpr int EditFind = 57636;
constexpr int EditFindNext = 57640;
constexpr int EditReplace = 57641;
constexpr int EditFindPrevious = 32841;
constexpr int EditGoToLine = 32842;
constexpr int CheckSyntax = 32843;
constexpr int EditToggleComment = 32935;
constexpr int EditMoveLineUp = 32936;
constexpr int EditMoveLineDown = 32937;
constexpr int EditDuplicateLine = 32938;
// View
constexpr int ViewWorkspace = 32771;
constexpr int ViewContextHelp = 32772;
constexpr int ViewPagePHP = 32774;
constexpr int ViewPageCSS = 32779;
constexpr int ViewPageHtml = 32775;
constexpr int ViewPageJavaScript = 32776;
constexpr int ViewPageCodeBlock = 32777;
constexpr int ViewPageLocalSite = 113;
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int ViewFindResults = 32860;
constexpr int ViewZoomIn = 32861;
constexpr int ViewZoomOut = 32862;
constexpr int ViewZoomReset = 32863;
constexpr int ViewCodeFolding = 32980;
constexpr int ViewFoldAll = 32981;
constexpr int ViewUnfoldAll = 32982;
constexpr int ViewDocumentTabs = 32930;
constexpr int ViewBraceMatching = 32931;
constexpr int ViewCurrentLine = 32932;
constexpr int ViewWhitespace = 32933;
constexpr int ViewLineEnds = 32934;
// Settings (code library and style)
constexpr int NewCodeLib = 32817;
constexpr int OpenCodeLib = 32816;
constexpr int ImportCode = 32818;
constexpr int CodeStyle = 32822;
constexpr int IndentWithSpaces = 32844;
constexpr int AutoClose = 32939;
constexpr int TabWidth2 = 32940;
constexpr int TabWidth4 = 32941;
constexpr int TabWidth8 = 32942;
constexpr int GrammarColouring = 32900;
// Snippets (the CodeBlock page's menu)
constexpr int InsertCode = 32787;
constexpr int NewCode = 32788;
constexpr int EditCode = 32789;
constexpr int DeleteCode = 32790;
// Window
constexpr int WindowNew = 57648;
constexpr int WindowCascade = 57650;
constexpr int WindowTile = 57651;
constexpr int WindowArrange = 57649;
constexpr int NextPane = 57680;
constexpr int PrevPane = 57681;
// Help
constexpr int AppAbout = 57664;
// The site symbol index: go to a definition and back, find a symbol.
constexpr int GoToDefinition = 32910;
constexpr int NavigateBack = 32911;
constexpr int FindSymbol = 32912;
// The toolbar slot that holds the combo box.
constexpr int ComboSlot = 32815;
// The local site page's context menus.
constexpr int SiteOpenFile = 32800;
constexpr int SiteDeleteFile = 32801;
constexpr int SiteNewFolder = 32802;
constexpr int SiteDeleteFolder = 32803;
constexpr int SiteNewFile = 32804;
} // namespace Cmd

namespace CtrlId {
constexpr int WorkspaceBar = 103;
constexpr int Editor = 104;
constexpr int CaretPane = 105;
constexpr int ToolbarCombo = 117;
constexpr int AdPane = 118;
} // namespace CtrlId
