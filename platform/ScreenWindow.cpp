#include "platform/ScreenWindow.h"

#include "platform/Accessibility.h"
#include "platform/FocusFrame.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

namespace {

// A background picture read from the program's resources when first painted.
class BackgroundPicture final : public PictureBox {
public:
    BackgroundPicture(QWidget *parent, const QString &resource, Placement placement)
        : PictureBox(parent, placement), m_resource(resource)
    {
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (!m_resource.isEmpty()) {
            QFile file(m_resource);
            if (file.open(QIODevice::ReadOnly))
                setPicture(decodePicture(file.readAll(), QStringLiteral("jpg")));
            m_resource.clear();
        }
        PictureBox::paintEvent(event);
    }

private:
    QString m_resource;
};

} // namespace

ScreenWindow::ScreenWindow(const QString &objectName, const QString &caption, QSize outerSize,
                           QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_outerSize(outerSize)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    Accessibility::install();
    Accessibility::nameWindow(this);
    m_content = new QWidget(this);
    m_content->setObjectName(objectName + QStringLiteral("Content"));
    setCentralWidget(m_content);
    setFixedSize(outerSize - frameAllowance());
    new FocusFrame(this);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.x() + (desk.width() - outerSize.width()) / 2,
             desk.y() + (desk.height() - outerSize.height()) / 2);
    }
}

void ScreenWindow::showScreen()
{
    show();
    // Without a window system (the offscreen platform) there is no stacking order to change.
    static const bool stacked = QGuiApplication::platformName() != QLatin1String("offscreen");
    if (stacked) {
        raise();
        activateWindow();
    }
}

void ScreenWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

PictureBox *ScreenWindow::addBackground(const QString &resource, int yOffset, QSize stretchTo)
{
    const bool stretch = stretchTo.isValid();
    auto *picture = new BackgroundPicture(m_content, resource,
                                          stretch ? PictureBox::Placement::Stretch
                                                  : PictureBox::Placement::TopLeft);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(QRect(QPoint(0, yOffset), stretch ? stretchTo : QSize(800, 500)));
    picture->lower();
    return picture;
}

QAction *ScreenWindow::addMenuItem(const QString &objectName, const QString &caption)
{
    // Only the menu bar's own height changes the content area: the window keeps its size.
    auto *action = menuBar()->addAction(caption);
    action->setObjectName(objectName);
    return action;
}
