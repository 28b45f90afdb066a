#pragma once
// A picture control: draws a picture at its own size, never scaled, either centred in the box
// (question photos) or from the top-left corner (backgrounds), clipped by the box; or stretched
// to fill the box (the splash).
#include <QImage>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Placement { Centre, TopLeft, Stretch };

    explicit PictureBox(QWidget *parent = nullptr, Placement placement = Placement::Centre);

    // Loads the file; on failure the box keeps the picture it showed and AppError is thrown.
    void loadFromFile(const QString &path);
    // A picture decoded elsewhere; `fileName` names the file it came from, if any.
    void setPicture(const QImage &picture, const QString &fileName = QString());
    const QImage &picture() const { return m_picture; }
    // The file the picture shown was loaded from; empty when it came from elsewhere or there is
    // none.
    const QString &fileName() const { return m_fileName; }
    void clear();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void display(const QImage &picture, const QString &fileName);

    QImage m_picture;
    QString m_fileName;
    Placement m_placement;
};
