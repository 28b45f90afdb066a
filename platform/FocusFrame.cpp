#include "platform/FocusFrame.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>

namespace {

// The ring lies above the control (so that a control covering the whole screen still shows
// it), reaches `Outside` pixels around it, and is not cut to a ring by a mask: the painting
// leaves the inside untouched.
class RingStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return FocusFrame::Outside;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        if (hint == SH_FocusFrame_Mask)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

FocusFrame::FocusFrame(QWidget *window) : QFocusFrame(window), m_window(window)
{
    setObjectName(QStringLiteral("FocusFrame"));
    auto *style = new RingStyle;
    style->setParent(this); // a widget does not own the style it is given
    setStyle(style);
    window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { follow(now); });
}

void FocusFrame::follow(QWidget *now)
{
    // Focus that moves to another window leaves this window's ring on the control that gets the
    // focus back when the window is active again; only the active window draws its ring.
    if (now && now != m_window && now->window() == m_window)
        setWidget(now);
    update();
}

bool FocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::ActivationChange)
        update();
    return QFocusFrame::eventFilter(watched, event);
}

QRect FocusFrame::ringRect() const
{
    QWidget *control = widget();
    if (!control || !control->isVisible() || !m_window->isActiveWindow())
        return QRect();
    // The part of the control that its parents let show, up to the window.
    QRect shown = control->rect();
    for (QWidget *w = control; w != m_window; w = w->parentWidget()) {
        QWidget *parent = w->parentWidget();
        if (!parent) // no longer inside this window
            return QRect();
        shown.translate(w->pos());
        shown &= parent->rect();
    }
    if (shown.isEmpty())
        return QRect();
    return shown.adjusted(-Outside, -Outside, Outside, Outside) & m_window->rect();
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    const QRect ring = ringRect().translated(-pos());
    if (ring.isEmpty())
        return;
    QPainter painter(this);
    // Dark, yellow, dark: one pixel, two, then one that lies on the control's own edge.
    const QColor dark(0x1a, 0x1a, 0x1a);
    const QColor yellow(0xff, 0xcc, 0x00);
    auto band = [&](int inset, int width, const QColor &colour) {
        const QRect r = ring.adjusted(inset, inset, -inset, -inset);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
        painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
        painter.fillRect(QRect(r.left(), r.top(), width, r.height()), colour);
        painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), colour);
    };
    band(0, 1, dark);
    band(1, 2, yellow);
    band(3, 1, dark);
}
