// The start-up splash window: shown over the main frame until its timer
// fires, when it tells the main frame to load the reference data.
#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class CStartupSplashWnd : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDefaultPeriodMs = 2750;

    // The process-wide splash state.
    static void EnableSplashScreen(bool enable);
    // Creates and shows the splash window over owner unless splash is
    // disabled or one exists already.
    static void ShowSplashScreen(QWidget* owner);
    static CStartupSplashWnd* Current();
    // Tests shorten the period; it applies to splash windows made afterwards.
    static void SetPeriodMs(int ms);
    static int PeriodMs();

    // The 520 x 317 picture of the splash window, drawn by the program.
    static QPixmap SplashImage();

    ~CStartupSplashWnd() override;

protected:
    explicit CStartupSplashWnd(QWidget* owner);
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hides (not destroys) the window on a key or mouse-button press; the
    // event goes on to its target.
    void FilterInput(QEvent* event);

    QPixmap m_bitmap;
    QBasicTimer m_timer;
    QPointer<QWidget> m_pOwner;
};
