// On a real control, with undo and redo of its own and two windows on one
// document taking turns to colour, the style bytes after every pass are those
// a fresh whole-text pass gives the text.
#include "CodeEditCtrl.h"
#include "ColourEditor.h"
#include "EditorHost.h"
#include "LargeFileLoad.h"
#include "LongLineTails.h"
#include "RandomPage.h"
#include "SlotBuffer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

#include <cstdlib>
#include <random>

namespace {

using Sci = QsciScintillaBase;

struct TextRange {
    long cpMin;
    long cpMax;
    char* lpstrText;
};

std::string TextOf(QsciScintilla& e)
{
    const long n = e.SendScintilla(Sci::SCI_GETTEXTLENGTH);
    return std::string(static_cast<const char*>(e.SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER)),
                       static_cast<std::size_t>(n));
}

std::vector<std::uint8_t> StylesOf(QsciScintilla& e)
{
    const long n = e.SendScintilla(Sci::SCI_GETTEXTLENGTH);
    std::vector<char> styled(static_cast<std::size_t>(2 * n + 2));
    TextRange range{0, n, styled.data()};
    e.SendScintilla(Sci::SCI_GETSTYLEDTEXT, 0UL, static_cast<void*>(&range));
    std::vector<std::uint8_t> styles(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i)
        styles[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(styled[static_cast<std::size_t>(2 * i + 1)]);
    return styles;
}

TEST(ControlIdentity, EveryPassLeavesTheWholePassStyles)
{
    QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet")).clear();
    QsciScintilla first;
    QsciScintilla second;
    first.setUtf8(true);
    second.setUtf8(true);
    second.setDocument(first.document());
    QsciScintilla* views[] = {&first, &second};

    std::mt19937 rng(7);
    const std::string page = RandomPage::Page(rng, 24 * 1024, false);
    first.SendScintilla(Sci::SCI_SETTEXT, 0UL, page.c_str());
    ColourEditor::RecolourControl(&first);
    ASSERT_EQ(StylesOf(second), ColourBytes(TextOf(second)));

    RandomPage::EditLog log;
    const char* env = std::getenv("QUILLET_IDENTITY_EDITS");
    const int edits = env && std::atoi(env) > 0 ? std::atoi(env) : 600;
    for (int e = 0; e < edits; ++e) {
        QsciScintilla& editor = *views[rng() % 2];
        std::string what;
        const unsigned roll = rng() % 100;
        if (roll < 8 && editor.isUndoAvailable()) {
            editor.undo();
            what = "undo";
        } else if (roll < 12 && editor.isRedoAvailable()) {
            editor.redo();
            what = "redo";
        } else {
            what = RandomPage::RandomEdit(
                rng, TextOf(editor), log,
                [&](std::size_t pos, const std::string& s) {
                    editor.SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(pos), s.c_str());
                },
                [&](std::size_t pos, std::size_t len) {
                    editor.SendScintilla(Sci::SCI_DELETERANGE, static_cast<unsigned long>(pos), static_cast<long>(len));
                });
        }
        // Passes come from either window, not always the one edited.
        ColourEditor::RecolourControl(views[rng() % 2]);
        const std::string text = TextOf(editor);
        const std::vector<std::uint8_t> want = ColourBytes(text);
        const std::vector<std::uint8_t> got = StylesOf(editor);
        if (got != want) {
            std::size_t i = 0;
            while (i < got.size() && i < want.size() && got[i] == want[i])
                ++i;
            FAIL() << "after edit " << e << " (" << what << "): first differing byte " << i << ", control "
                   << (i < got.size() ? int(got[i]) : -1) << ", whole pass " << (i < want.size() ? int(want[i]) : -1);
        }
    }
}


TEST(ControlIdentity, LargeFileLoadsColouredAheadWithProgress)
{
    QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet")).clear();
    EditorHost::SetAheadColourer(ColourEditor::ColourAhead);
    EditorHost::SetAheadWaiter([](CCodeEditCtrl* e) { return ColourEditor::AwaitAhead(e); });
    EditorHost::SetRecolourer([](CCodeEditCtrl* e) { ColourEditor::RecolourControl(e); });
    std::mt19937 rng(5);
    const std::string page = RandomPage::Page(rng, 1 << 20, false);
    const std::optional<QByteArray> gb = FileEncoding::Encode(QByteArray::fromStdString(page), FileEncoding::Kind::Gb18030);
    ASSERT_TRUE(gb);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.php"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(*gb) == gb->size());
    file.close();

    CCodeEditCtrl editor;
    editor.SetWholeText("kept when a load fails");
    EXPECT_FALSE(LargeFileLoad::Open(dir.filePath(QStringLiteral("missing.php")), &editor));
    EXPECT_EQ(editor.WholeText(), QByteArray("kept when a load fails"));

    // The dialog is looked for while the load runs its own event loop.
    QString label;
    int highest = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible()) {
                label = d->labelText();
                highest = std::max(highest, d->value());
            }
    });
    watch.start(1);
    const std::optional<FileEncoding::Format> format = LargeFileLoad::Open(path, &editor);
    watch.stop();
    ASSERT_TRUE(format);
    EXPECT_EQ(format->kind, FileEncoding::Kind::Gb18030);
    EXPECT_EQ(label, QStringLiteral("正在打开 big.php…"));
    EXPECT_GE(highest, 0);
    ASSERT_EQ(TextOf(editor), page);
    EXPECT_FALSE(editor.isUndoAvailable());
    // The first screen is coloured when the open returns; the rest follows
    // from the worker, with the edits made before it came.
    const std::vector<std::uint8_t> whole = ColourBytes(page);
    const std::vector<std::uint8_t> shown = StylesOf(editor);
    EXPECT_TRUE(std::equal(whole.begin(), whole.begin() + 64 * 1024, shown.begin()));
    EXPECT_NE(shown, whole);
    for (int e = 0; e < 6; ++e) {
        const std::size_t pos = rng() % page.size();
        editor.SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(pos), e % 2 ? "x" : "\n");
        ColourEditor::RecolourControl(&editor);
    }
    const std::vector<std::uint8_t> want = ColourBytes(TextOf(editor));
    ASSERT_TRUE(QTest::qWaitFor([&] { return StylesOf(editor) == want; }, 20000));

    // The adopted pass is the start of the incremental ones that follow.
    for (int e = 0; e < 12; ++e) {
        const std::size_t pos = rng() % page.size();
        editor.SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(pos), e % 2 ? "\"" : "<?php ");
        ColourEditor::RecolourControl(&editor);
        ASSERT_EQ(StylesOf(editor), ColourBytes(TextOf(editor))) << "after edit " << e;
    }
    EditorHost::SetAheadColourer({});
    EditorHost::SetAheadWaiter({});
    EditorHost::SetRecolourer({});
}


TEST(ControlIdentity, ColouredLaterOnAWorkerWithTheEditsMadeMeanwhile)
{
    QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet")).clear();
    EditorHost::SetAheadColourer(ColourEditor::ColourAhead);
    EditorHost::SetAheadWaiter([](CCodeEditCtrl* e) { return ColourEditor::AwaitAhead(e); });
    EditorHost::SetRecolourer([](CCodeEditCtrl* e) { ColourEditor::RecolourControl(e); });
    std::mt19937 rng(9);
    const QByteArray page = QByteArray::fromStdString(RandomPage::Page(rng, 256 * 1024, false));
    for (const bool editMeanwhile : {false, true}) {
        CCodeEditCtrl editor;
        editor.SetWholeText(page);
        EditorHost::ColourLater(&editor, page);
        // A change that keeps the length: only the change count tells.
        if (editMeanwhile) {
            editor.SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(page.size() / 2), "\"");
            editor.SendScintilla(Sci::SCI_DELETERANGE, 10UL, 1L);
        }
        const std::string text = TextOf(editor);
        const std::vector<std::uint8_t> want = ColourBytes(text);
        EXPECT_TRUE(QTest::qWaitFor([&] { return StylesOf(editor) == want; }, 10000)) << "edited: " << editMeanwhile;
    }
    // A window closed before its pass is done takes nothing with it.
    {
        CCodeEditCtrl editor;
        editor.SetWholeText(page);
        EditorHost::ColourLater(&editor, page);
    }
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EditorHost::SetAheadColourer({});
    EditorHost::SetAheadWaiter({});
    EditorHost::SetRecolourer({});
}

TEST(ControlIdentity, TailsOfLinesTooLongToDrawAreHiddenUntilTheyAreShortAgain)
{
    QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet")).clear();
    QsciScintilla editor;
    editor.setUtf8(true);
    std::string page = "<?php\n$a = '";
    page += std::string(100 * 1024, 'x') + "';\necho 1;\n";
    editor.SendScintilla(Sci::SCI_SETTEXT, 0UL, page.c_str());
    ColourEditor::RecolourControl(&editor);
    const auto shown = [&] {
        std::vector<std::uint8_t> s = StylesOf(editor);
        for (auto& b : s)
            if (b >= LongLineTails::kHiddenBase && b < LongLineTails::kHiddenBase + kSlotCount)
                b = static_cast<std::uint8_t>(b - LongLineTails::kHiddenBase);
        return s;
    };
    const auto hidden = [&] {
        const std::vector<std::uint8_t> s = StylesOf(editor);
        return std::count_if(s.begin(), s.end(), [](std::uint8_t b) { return b >= LongLineTails::kHiddenBase; });
    };
    const std::int64_t line1 = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, 1UL);
    const std::int64_t line2 = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, 2UL);
    EXPECT_EQ(shown(), ColourBytes(TextOf(editor)));
    EXPECT_EQ(hidden(), line2 - line1 - LongLineTails::kShown);
    // Short again: every byte drawn in its slot.
    editor.SendScintilla(Sci::SCI_DELETERANGE, static_cast<unsigned long>(line1 + 100), 60L * 1024);
    ColourEditor::RecolourControl(&editor);
    EXPECT_EQ(StylesOf(editor), ColourBytes(TextOf(editor)));
}

} // namespace

