#pragma once
// What every screen of the game shares: a fixed size, centred on the desktop, a title bar with
// its caption and no buttons or system menu, an optional background picture `Image1` drawn
// unscaled from the top-left corner and clipped, and controls placed at fixed positions; a clear
// ring around the control that has the keyboard focus (FocusFrame).
#include <QMainWindow>
#include <QSize>

class PictureBox;

class ScreenWindow : public QMainWindow {
    Q_OBJECT
public:
    // `outerSize` is the window's size with its frame, as a desktop measures it.
    ScreenWindow(const QString &objectName, const QString &caption, QSize outerSize,
                 QWidget *parent = nullptr);

    // Makes the screen visible if hidden and brings it in front of the others; never modal.
    void showScreen();

    // The area under the menu bar where the controls and the background are placed.
    QWidget *content() const { return m_content; }

    // The frame a desktop puts around a window's client area, taken off the outer size.
    static QSize frameAllowance() { return {16, 39}; }

protected:
    // Screens are left only through their own buttons and menus: a close that the window system
    // asks for (Alt+F4, or a title-bar button that a window manager adds anyway) is refused.
    // Closing a screen from the program only hides it.
    void closeEvent(QCloseEvent *event) override;

    // Adds `Image1`: a resource JPEG placed at (0, yOffset), decoded the first time it is
    // painted so that creating screens stays quick; stretched to `stretchTo` when given.
    PictureBox *addBackground(const QString &resource, int yOffset = 0, QSize stretchTo = QSize());
    // A menu bar item with its object name, caption and its place in the window's menu bar.
    class QAction *addMenuItem(const QString &objectName, const QString &caption);

private:
    QWidget *m_content;
    QSize m_outerSize;
};
