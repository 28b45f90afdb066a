#include "platform/PictureBox.h"

#include "platform/Accessibility.h"
#include "platform/Pictures.h"

#include <QAccessible>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent, Placement placement)
    : QWidget(parent), m_placement(placement)
{
    Accessibility::install();
}

void PictureBox::loadFromFile(const QString &path)
{
    display(loadPicture(path, m_placement == Placement::Centre ? size() : QSize()), path);
}

void PictureBox::setPicture(const QImage &picture, const QString &fileName)
{
    display(picture, fileName);
}

void PictureBox::clear()
{
    display(QImage(), QString());
}

void PictureBox::display(const QImage &picture, const QString &fileName)
{
    m_picture = picture;
    m_fileName = fileName;
    update();
    // A box's accessible name may describe its picture: screen readers ask for it again.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    switch (m_placement) {
    case Placement::Stretch:
        painter.drawImage(rect(), m_picture);
        break;
    case Placement::TopLeft:
        painter.drawImage(0, 0, m_picture);
        break;
    case Placement::Centre:
        // The same rounding as a box that centres a picture larger or smaller than itself:
        // the offset is half the difference, rounded toward zero.
        painter.drawImage((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2,
                          m_picture);
        break;
    }
}
