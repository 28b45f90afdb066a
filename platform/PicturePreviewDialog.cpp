#include "platform/PicturePreviewDialog.h"

#include "platform/Accessibility.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "store/core/AppError.h"
#include "store/core/DataDir.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The preview column: the picture centred at its own size (as the photo boxes show it), and a
// line that says why a picture cannot be read.
class Preview : public QWidget {
public:
    explicit Preview(QWidget *parent) : QWidget(parent)
    {
        m_box = new PictureBox(this, PictureBox::Placement::Centre);
        m_box->setObjectName(QStringLiteral("fotodialogPreview"));
        m_box->setFixedSize(137, 177);
        Accessibility::nameFromContent(m_box, [this] {
            return m_box->picture().isNull() ? QStringLiteral("Prévia da foto: nenhuma")
                                             : QStringLiteral("Prévia da foto: ") + QFileInfo(m_path).fileName();
        });
        m_info = new QLabel(this);
        m_info->setWordWrap(true);
        m_info->setFixedWidth(160);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_box, 0, Qt::AlignHCenter);
        layout->addWidget(m_info);
        layout->addStretch();
    }

    void show(const QString &path)
    {
        m_path = path;
        m_box->clear();
        if (path.isEmpty() || QFileInfo(path).isDir()) {
            m_info->clear();
            return;
        }
        try {
            // As the photo box will show it: at its own size, centred, only what fits.
            m_box->setPicture(loadPicture(path, m_box->size()));
            m_info->clear();
        } catch (const AppError &e) {
            m_info->setText(e.text());
        }
    }

private:
    QString m_path;
    PictureBox *m_box;
    QLabel *m_info;
};

} // namespace

QString choosePictureFile(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Selecionar foto"));
    dialog.setObjectName(QStringLiteral("fotodialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({
        QStringLiteral("Todas as imagens (*.jpg *.jpeg *.png *.gif *.bmp *.ico *.emf *.wmf)"),
        QStringLiteral("Imagens JPEG (*.jpg *.jpeg)"),
        QStringLiteral("Imagens PNG (*.png)"),
        QStringLiteral("Imagens GIF (*.gif)"),
        QStringLiteral("Bitmaps (*.bmp)"),
        QStringLiteral("Ícones (*.ico)"),
        QStringLiteral("Metarquivos avançados (*.emf)"),
        QStringLiteral("Metarquivos (*.wmf)"),
    });

    // The question photos live in the data directory's photo folder when there is one.
    const QString photos = QDir(dataDirectory()).filePath(QStringLiteral("fotos"));
    dialog.setDirectory(QFileInfo(photos).isDir() ? photos : QDir::homePath());

    auto *preview = new Preview(&dialog);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &Preview::show);
    dialog.resize(860, 460);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
