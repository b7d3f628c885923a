// The running application's main frame for the tests that drive it: the frame,
// its documents, and a fixture that starts every test with no document open
// and ends it by closing them all, unsaved changes discarded.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "DocTemplate.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletEvent.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"

namespace FrameTest {

inline CQuilletApp* App() { return static_cast<CQuilletApp*>(qApp); }
inline CMainFrame* Frame() { return App()->MainFrame(); }
inline CDocTemplate* Docs() { return App()->DocTemplate(); }

// The deferred load, once per process, as the splash window would ask for it.
inline void EnsureDeferredLoad()
{
    if (Frame()->DeferredLoadCount() > 0)
        return;
    CQuilletEvent::Post(Frame(), QuilletEvent::DeferredLoad);
    QCoreApplication::processEvents();
}

class FrameFixture : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Docs()->Documents().isEmpty()); }
    void TearDown() override
    {
        CScriptedResponder discard;
        discard.answers = QList<UserPrompt::Answer>(8, UserPrompt::Answer::No);
        CloseAll();
    }
    // Closes every document; any question goes to the test's own responder.
    static void CloseAll()
    {
        Docs()->CloseAllDocuments();
        QuilletTest::WaitFor([] { return Docs()->Documents().isEmpty(); });
        QCoreApplication::processEvents();
    }
    // The frame active, as the user's window is.
    static void ActivateFrame()
    {
        Frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    }
};

} // namespace FrameTest
