#include "platform/PictureBox.h"

#include "platform/Pictures.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent, Placement placement)
    : QWidget(parent), m_placement(placement)
{
}

void PictureBox::loadFromFile(const QString &path)
{
    setPicture(loadPicture(path, m_placement == Placement::Centre ? size() : QSize()));
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::clear()
{
    m_picture = QImage();
    update();
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
