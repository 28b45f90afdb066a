#pragma once
// A clear ring around the control that has the keyboard focus in a screen. The screens' own
// look (labels and buttons over artwork, white answer buttons on a white card) leaves the
// style's focus marks faint; this ring, dark-yellow-dark, shows on light and dark backgrounds
// alike. It is drawn over the control's edge, clipped to what the window shows, and only while
// the window is the active one.
#include <QFocusFrame>

class FocusFrame final : public QFocusFrame {
    Q_OBJECT
public:
    // Width of the ring; it reaches this far outside the control, and one pixel into it.
    static constexpr int Outside = 3;

    // Follows the focus inside `window` for the life of the window.
    explicit FocusFrame(QWidget *window);

    // Where the ring is drawn, in the window's coordinates: the part of the focused control
    // that the window shows, widened by the ring; empty when no ring is drawn.
    QRect ringRect() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(QWidget *now);

    QWidget *m_window;
};
